#include "entrystore.h"

#include <algorithm>

namespace joblist {

std::pair<std::size_t, int> EntryStore::locate(int index) const
{
    Q_ASSERT(index >= 0 && index < m_size);
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), index);
    const auto chunk = std::size_t(after - m_starts.begin()) - 1;
    return {chunk, index - m_starts[chunk]};
}

const QString &EntryStore::at(int index) const
{
    const auto [chunk, offset] = locate(index);
    return m_chunks[chunk][std::size_t(offset)];
}

QString &EntryStore::operator[](int index)
{
    const auto [chunk, offset] = locate(index);
    return m_chunks[chunk][std::size_t(offset)];
}

void EntryStore::append(const QString &text)
{
    if (m_chunks.empty() || m_chunks.back().size() == ChunkCapacity) {
        m_chunks.emplace_back().reserve(ChunkCapacity);
        m_starts.push_back(m_size);
    }
    m_chunks.back().push_back(text);
    ++m_size;
}

void EntryStore::removeAt(int index)
{
    const auto [chunk, offset] = locate(index);
    std::vector<QString> &texts = m_chunks[chunk];
    texts.erase(texts.begin() + offset);
    --m_size;
    for (std::size_t later = chunk + 1; later < m_starts.size(); ++later)
        --m_starts[later];
    // An emptied chunk would hold a start equal to its successor's, which
    // the binary search cannot tell apart; drop it.
    if (texts.empty()) {
        m_chunks.erase(m_chunks.begin() + std::ptrdiff_t(chunk));
        m_starts.erase(m_starts.begin() + std::ptrdiff_t(chunk));
    }
}

} // namespace joblist
