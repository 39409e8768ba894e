#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails on a text a person reads that bypasses Qt's translation system: a
# literal handed straight to a widget's text, tooltip or title, to an action
# or a message, or written to standard error. Texts that must stay as they
# are (for scripts, or said before any translation can be loaded) are named
# in allowed.txt, one "file: text" a line.
set -euo pipefail
root=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
allowed="$(dirname "$0")/allowed.txt"
[[ -f $allowed ]] || allowed="$root/tests/translations/allowed.txt"
cd "$root"

# A call that shows text to a person, with a literal (QStringLiteral, u"..."
# or "...") as its text.
literal='(QStringLiteral\("|u"|"[^"]*[A-Za-z]{2})'
shown='(setText|setToolTip|setWindowTitle|setStatusTip|setPlaceholderText|setWhatsThis|setAccessibleName|setAccessibleDescription|setLabelText|addAction|addMenu|setItemData|showMessage|addColumnHeader|setHeaderLabels?)\('
made='new (QAction|QPushButton|QLabel|QCheckBox|QRadioButton|QMenu|QGroupBox|ActionButton)\('
boxes='QMessageBox::(information|warning|critical|question|about)\([^;]*'
# The program's name before a message is no text to translate.
errors='(fputs|fprintf)\((stderr, )?"[^"]*[A-Za-z]{3}|say\((log, )?(?!u"tavimark: ")'"$literal"

found=$(grep -rnP --include='*.cpp' --include='*.h' \
    "${shown}[^;]*${literal}|${made}${literal}|${boxes}${literal}|$errors" src |
    grep -vE '(tr|translate)\(' || true)

unwrapped=""
while IFS= read -r hit; do
    [[ -z $hit ]] && continue
    file=${hit%%:*}
    text=${hit#*:*:}
    # An allowed text is named with its file; the line must hold it.
    ok=0
    while IFS= read -r entry; do
        [[ -z $entry || $entry == \#* ]] && continue
        if [[ $file == "${entry%%: *}" && $text == *"${entry#*: }"* ]]; then
            ok=1
            break
        fi
    done < "$allowed"
    [[ $ok -eq 1 ]] || unwrapped+="  $hit"$'\n'
done <<< "$found"

if [[ -n $unwrapped ]]; then
    echo "these texts are shown to a person but not wrapped in tr() or QCoreApplication::translate():"
    printf '%s' "$unwrapped"
    exit 1
fi
echo "every text shown to a person goes through the translations"
