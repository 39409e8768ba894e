// SPDX-License-Identifier: GPL-3.0-or-later
#include "headingtargets.h"

#include <algorithm>

namespace platform {

namespace {

// A heading's text is cut well past what a bookmark shows, and a page with
// more headings than that gets bookmarks for the first ones.
constexpr int MostHeadings = 10'000;
constexpr int MostCharacters = 300;
constexpr int MostNameBytes = 200;

bool usableName(const QByteArray &name)
{
    if (name.isEmpty() || name.size() > MostNameBytes)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

} // namespace

QString headingTargetsScript()
{
    // A name is kept as the engine writes it only when it needs no escaping
    // in a link or in the PDF: plain letters, digits, '-' and '_'. A
    // document with a <base> elsewhere gets links with its own address, so
    // that they still point into it. Text is taken with textContent, which
    // lays nothing out, and cut before it is tidied, so a huge heading costs
    // little.
    return QStringLiteral(R"((function () {
  try {
    var most = %1, chars = %2, usable = /^[A-Za-z0-9_-]{1,%3}$/;
    var headings = document.querySelectorAll('h1, h2, h3');
    var base = document.querySelector('base[href]') ? document.URL.replace(/#.*$/, '') : '';
    var taken = new Set(), answer = [], box = null, count = 0;
    var fresh = function () {
      var id;
      do { id = 'tavimark-heading-' + (++count); } while (document.getElementById(id));
      return id;
    };
    for (var i = 0; i < headings.length && answer.length < most; ++i) {
      var heading = headings[i], name = heading.id;
      if (!name) {
        name = fresh();
        heading.id = name;
      } else if (!usable.test(name) || taken.has(name) || document.getElementById(name) !== heading) {
        var mark = document.createElement('span');
        name = fresh();
        mark.id = name;
        heading.insertBefore(mark, heading.firstChild);
      }
      taken.add(name);
      if (!box) {
        box = document.createElement('div');
        box.hidden = true;
        (document.body || document.documentElement).appendChild(box);
      }
      var link = document.createElement('a');
      link.href = base + '#' + name;
      box.appendChild(link);
      var text = String(heading.textContent || '').slice(0, chars * 4).replace(/\s+/g, ' ').trim().slice(0, chars);
      answer.push([Number(heading.tagName.charAt(1)), text, name]);
    }
    return answer;
  } catch (e) {
    return [];
  }
})())")
        .arg(MostHeadings)
        .arg(MostCharacters)
        .arg(MostNameBytes);
}

QList<core::DocumentHeading> headingsFrom(const QVariant &answer)
{
    QList<core::DocumentHeading> headings;
    const QVariantList items = answer.toList();
    for (const QVariant &item : items) {
        if (headings.size() >= MostHeadings)
            break;
        const QVariantList fields = item.toList();
        if (fields.size() != 3)
            continue;
        const int level = fields.at(0).toInt();
        const QByteArray name = fields.at(2).toString().toLatin1();
        if (level < 1 || level > 3 || !usableName(name))
            continue;
        headings.append({level, fields.at(1).toString().left(MostCharacters), name});
    }
    return headings;
}

} // namespace platform
