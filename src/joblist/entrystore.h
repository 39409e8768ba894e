#pragma once

#include <QString>

#include <vector>

namespace joblist {

// The texts of the job list, in order, kept in chunks of at most a thousand
// or so. Removing from the middle of a million entries then moves one chunk's
// worth of texts instead of half a million, and finding an index is a binary
// search over the chunks' start indices.
class EntryStore {
public:
    int size() const { return m_size; }
    const QString &at(int index) const;
    QString &operator[](int index);

    void append(const QString &text);
    void removeAt(int index);

private:
    static constexpr std::size_t ChunkCapacity = 1024;

    // Index of the chunk holding `index`, and the offset inside it.
    std::pair<std::size_t, int> locate(int index) const;

    std::vector<std::vector<QString>> m_chunks;
    std::vector<int> m_starts;  // first index held by each chunk
    int m_size = 0;
};

} // namespace joblist
