// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading the scheduler's answers: the one way a response's attributes are
// taken apart into groups (one job, one printer, one event) and read by name,
// for following jobs and for looking through a queue's history alike.

#include <cups/cups.h>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// One group of a response's attributes, by name.
using IppGroup = QHash<QByteArray, ipp_attribute_t *>;

// The groups of kind `tag` in `response`, in order: each ends where an
// attribute without a name separates it from the next.
inline QList<IppGroup> groupsOf(ipp_t *response, ipp_tag_t tag)
{
    QList<IppGroup> groups;
    IppGroup group;
    const auto keep = [&] {
        if (!group.isEmpty())
            groups << group;
        group.clear();
    };
    for (ipp_attribute_t *attribute = ippFirstAttribute(response); attribute; attribute = ippNextAttribute(response)) {
        const char *name = ippGetName(attribute);
        if (!name) {
            keep();
            continue;
        }
        if (ippGetGroupTag(attribute) == tag)
            group.insert(QByteArray(name), attribute);
    }
    keep();
    return groups;
}

// 0 where the group has no such number (or the scheduler gave no value).
inline int integerOf(const IppGroup &group, const char *name)
{
    ipp_attribute_t *attribute = group.value(name);
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

// Empty where the group has no such text (or the scheduler hides it).
inline QByteArray bytesOf(const IppGroup &group, const char *name)
{
    ipp_attribute_t *attribute = group.value(name);
    return attribute ? QByteArray(ippGetString(attribute, 0, nullptr)) : QByteArray();
}

inline QString textOf(const IppGroup &group, const char *name) { return QString::fromUtf8(bytesOf(group, name)); }

inline QStringList textsOf(const IppGroup &group, const char *name)
{
    QStringList texts;
    ipp_attribute_t *attribute = group.value(name);
    for (int i = 0; attribute && i < ippGetCount(attribute); ++i)
        texts << QString::fromUtf8(ippGetString(attribute, i, nullptr));
    return texts;
}

// A request to the scheduler or one of its queues (`uri`), from the user
// the print system knows this program by.
inline ipp_t *requestTo(ipp_op_t operation, const char *uri)
{
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return request;
}

} // namespace platform
