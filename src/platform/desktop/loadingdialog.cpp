// SPDX-License-Identifier: GPL-3.0-or-later
#include "loadingdialog.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace platform {

namespace {

class QtLoadingDialog final : public core::LoadingSettingsEditor {
public:
    std::optional<core::LoadingSettings> edit(QWidget *owner, const core::LoadingSettings &current) override
    {
        QDialog dialog(owner);
        dialog.setWindowTitle(QCoreApplication::translate("platform::LoadingDialog", "Loading Settings"));
        auto *layout = new QVBoxLayout(&dialog);
        auto *note = new QLabel(QCoreApplication::translate("platform::LoadingDialog", "A document is printed once it has loaded and settled. It can also wait for an "
                                     "element, and a while longer; never past its time bound."),
                                &dialog);
        note->setWordWrap(true);
        layout->addWidget(note);
        auto *form = new QFormLayout;
        auto *selector = new QLineEdit(current.waitFor, &dialog);
        selector->setPlaceholderText(
            QCoreApplication::translate("platform::LoadingDialog", "a CSS selector, such as #report-done"));
        // Wide enough for its hint in any language, and for a selector of
        // some length, rather than the few letters a line edit starts with.
        selector->setMinimumWidth(selector->fontMetrics().horizontalAdvance(selector->placeholderText()) + 24);
        form->addRow(QCoreApplication::translate("platform::LoadingDialog", "Wait for the &element:"), selector);
        auto *delay = new QSpinBox(&dialog);
        delay->setRange(0, int(core::Readiness::MaxDelay.count()));
        delay->setSingleStep(100);
        delay->setSuffix(QCoreApplication::translate("platform::LoadingDialog", " ms"));
        delay->setValue(int(current.delay.count()));
        form->addRow(QCoreApplication::translate("platform::LoadingDialog", "Then &wait:"), delay);
        layout->addLayout(form);
        auto *combine = new QCheckBox(
            QCoreApplication::translate("platform::LoadingDialog", "Print the whole run as one &job"), &dialog);
        combine->setToolTip(QCoreApplication::translate(
            "platform::LoadingDialog", "Every document goes out in one job, in list order, once the last one is ready; "
                                       "printed on both sides, each starts on a new sheet."));
        combine->setChecked(current.combine);
        layout->addWidget(combine);
        auto *contents = new QCheckBox(
            QCoreApplication::translate("platform::LoadingDialog", "Begin it with a &contents page"), &dialog);
        contents->setChecked(current.contents);
        contents->setEnabled(current.combine);
        QObject::connect(combine, &QCheckBox::toggled, contents, &QWidget::setEnabled);
        layout->addWidget(contents);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        core::LoadingSettings chosen = current;
        chosen.waitFor = selector->text().trimmed();
        chosen.delay = std::chrono::milliseconds(delay->value());
        chosen.combine = combine->isChecked();
        chosen.contents = chosen.combine && contents->isChecked();
        return chosen;
    }
};

} // namespace

std::unique_ptr<core::LoadingSettingsEditor> makeLoadingDialog()
{
    return std::make_unique<QtLoadingDialog>();
}

} // namespace platform
