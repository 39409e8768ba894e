// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An outline's items linked into the tree the PDF format stores, and written
// as PDF text, for the document and the combiner alike.

#include <QByteArray>

#include <vector>

namespace printing::outline {

inline QByteArray reference(int object)
{
    return QByteArray::number(object) + " 0 R";
}

// One item of an outline, with its neighbours as indexes into the outline's
// items (-1 for none; a parent of -1 is the outline itself).
struct OutlineNode {
    QByteArray title;        // as PDF text
    QByteArray destination;  // an explicit destination, as PDF text
    int level = 1;
    int parent = -1, first = -1, last = -1, previous = -1, next = -1;
    int descendants = 0;
};

// Links the items, given in reading order with their depths, into a tree:
// an item nests under the nearest item before it of a lower depth.
inline void linkOutline(std::vector<OutlineNode> &nodes)
{
    std::vector<int> open;  // the chain of items a next one may nest under
    for (int i = 0; i < int(nodes.size()); ++i) {
        while (!open.empty() && nodes[size_t(open.back())].level >= nodes[size_t(i)].level)
            open.pop_back();
        const int parent = open.empty() ? -1 : open.back();
        OutlineNode &node = nodes[size_t(i)];
        node.parent = parent;
        int lastSibling = -1;
        if (parent >= 0) {
            lastSibling = nodes[size_t(parent)].last;
            if (nodes[size_t(parent)].first < 0)
                nodes[size_t(parent)].first = i;
            nodes[size_t(parent)].last = i;
        } else {
            for (int j = i - 1; j >= 0; --j) {
                if (nodes[size_t(j)].parent == -1) {
                    lastSibling = j;
                    break;
                }
            }
        }
        node.previous = lastSibling;
        if (lastSibling >= 0)
            nodes[size_t(lastSibling)].next = i;
        for (int up = parent; up >= 0; up = nodes[size_t(up)].parent)
            ++nodes[size_t(up)].descendants;
        open.push_back(i);
    }
}

// An item's dictionary, its neighbours named by `number`; `root` is the
// outline's own object.
inline QByteArray outlineItemText(const std::vector<OutlineNode> &nodes, size_t i, const std::vector<int> &number, int root)
{
    const OutlineNode &node = nodes[i];
    QByteArray text = "<< /Title " + node.title + " /Parent "
        + reference(node.parent >= 0 ? number[size_t(node.parent)] : root) + " /Dest " + node.destination;
    const auto link = [&](const char *key, int index) {
        if (index >= 0)
            text += QByteArray(" ") + key + ' ' + reference(number[size_t(index)]);
    };
    link("/Prev", node.previous);
    link("/Next", node.next);
    link("/First", node.first);
    link("/Last", node.last);
    if (node.descendants > 0)
        text += " /Count " + QByteArray::number(node.descendants);
    return text + " >>";
}

inline QByteArray outlineRootText(const std::vector<OutlineNode> &nodes, const std::vector<int> &number)
{
    int last = 0;
    for (int i = 0; i < int(nodes.size()); ++i) {
        if (nodes[size_t(i)].parent == -1)
            last = i;
    }
    return "<< /Type /Outlines /First " + reference(number.front()) + " /Last " + reference(number[size_t(last)])
        + " /Count " + QByteArray::number(qint64(nodes.size())) + " >>";
}

} // namespace printing::outline
