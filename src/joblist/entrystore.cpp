// SPDX-License-Identifier: GPL-3.0-or-later
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

const Entry &EntryStore::at(int index) const
{
    const auto [chunk, offset] = locate(index);
    return m_chunks[chunk].entries[std::size_t(offset)];
}

void EntryStore::countMark(std::size_t chunk, Mark mark, int delta)
{
    if (mark != Mark::Pending)
        return;
    m_chunks[chunk].pending += delta;
    m_pending += delta;
}

void EntryStore::append(Entry entry)
{
    if (m_chunks.empty() || m_chunks.back().entries.size() == ChunkCapacity) {
        m_chunks.emplace_back().entries.reserve(ChunkCapacity);
        m_starts.push_back(m_size);
    }
    const Mark mark = entry.mark;
    m_chunks.back().entries.push_back(std::move(entry));
    countMark(m_chunks.size() - 1, mark, +1);
    ++m_size;
}

void EntryStore::removeAt(int index)
{
    const auto [chunk, offset] = locate(index);
    std::vector<Entry> &entries = m_chunks[chunk].entries;
    countMark(chunk, entries[std::size_t(offset)].mark, -1);
    entries.erase(entries.begin() + offset);
    --m_size;
    for (std::size_t later = chunk + 1; later < m_starts.size(); ++later)
        --m_starts[later];
    // An emptied chunk would hold a start equal to its successor's, which
    // the binary search cannot tell apart; drop it.
    if (entries.empty()) {
        m_chunks.erase(m_chunks.begin() + std::ptrdiff_t(chunk));
        m_starts.erase(m_starts.begin() + std::ptrdiff_t(chunk));
    }
}

void EntryStore::removeRange(int first, int count)
{
    if (count <= 0)
        return;
    Q_ASSERT(first >= 0 && first + count <= m_size);
    const auto [firstChunk, firstOffset] = locate(first);
    // The first chunk touched keeps its start, whether it stays or goes.
    const int firstStart = m_starts[firstChunk];
    std::size_t chunk = firstChunk;
    int offset = firstOffset;
    for (int left = count; left > 0; offset = 0) {
        std::vector<Entry> &entries = m_chunks[chunk].entries;
        const int taken = std::min(left, int(entries.size()) - offset);
        const auto from = entries.begin() + offset;
        for (auto entry = from; entry != from + taken; ++entry)
            countMark(chunk, entry->mark, -1);
        entries.erase(from, from + taken);
        left -= taken;
        // Emptied chunks go, as in removeAt().
        if (entries.empty()) {
            m_chunks.erase(m_chunks.begin() + std::ptrdiff_t(chunk));
            m_starts.erase(m_starts.begin() + std::ptrdiff_t(chunk));
        } else {
            ++chunk;
        }
    }
    m_size -= count;
    for (std::size_t later = firstChunk; later < m_starts.size(); ++later)
        m_starts[later] = later == firstChunk ? firstStart
                                              : m_starts[later - 1] + int(m_chunks[later - 1].entries.size());
}

void EntryStore::swap(int first, int second)
{
    const auto [chunkA, offsetA] = locate(first);
    const auto [chunkB, offsetB] = locate(second);
    Entry &a = entryAt(chunkA, offsetA);
    Entry &b = entryAt(chunkB, offsetB);
    countMark(chunkA, a.mark, -1);
    countMark(chunkB, b.mark, -1);
    std::swap(a, b);
    countMark(chunkA, a.mark, +1);
    countMark(chunkB, b.mark, +1);
}

void EntryStore::setMark(int index, Mark mark)
{
    const auto [chunk, offset] = locate(index);
    Entry &entry = entryAt(chunk, offset);
    countMark(chunk, entry.mark, -1);
    entry.mark = mark;
    countMark(chunk, mark, +1);
}

void EntryStore::markAll(Mark mark)
{
    for (Chunk &chunk : m_chunks) {
        for (Entry &entry : chunk.entries)
            entry.mark = mark;
        chunk.pending = mark == Mark::Pending ? int(chunk.entries.size()) : 0;
    }
    m_pending = mark == Mark::Pending ? m_size : 0;
}

int EntryStore::nextPending(int from) const
{
    if (from >= m_size || m_pending == 0)
        return m_size;
    auto [chunk, offset] = locate(std::max(from, 0));
    for (; chunk < m_chunks.size(); ++chunk, offset = 0) {
        const Chunk &current = m_chunks[chunk];
        if (current.pending == 0)
            continue;
        for (std::size_t i = std::size_t(offset); i < current.entries.size(); ++i) {
            if (current.entries[i].mark == Mark::Pending)
                return m_starts[chunk] + int(i);
        }
    }
    return m_size;
}

} // namespace joblist
