// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmarks put where the window and the user would be: a job list
// shown in its view as in the window, the window's pointer, and a message box
// that only keeps what it was asked to show.

#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "core/desktop.h"
#include "core/mousepointer.h"

#include <QCoreApplication>

namespace bench {

struct ShownJobList {
    joblist::JobList jobs;
    joblist::JobListView view;

    ShownJobList()
    {
        jobs.addColumnHeader(QStringLiteral("HTML File(s)"));
        view.setJobList(&jobs);
        view.resize(601, 153);
        view.show();
        QCoreApplication::processEvents();
    }
};

struct WindowPointer final : core::PointerOwner {
    core::MousePointer current = core::MousePointer::Default;
    core::MousePointer mousePointer() const override { return current; }
    void setMousePointer(core::MousePointer pointer) override { current = pointer; }
};

struct KeptMessages final : core::MessageBox {
    int shown = 0;
    QString last;
    void show(QWidget *, const QString &text, const QString &) override
    {
        ++shown;
        last = text;
    }
};

} // namespace bench
