#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings the translation files up to date with the sources: every text the
# sources hand to tr() or QCoreApplication::translate() is added to each
# translations/tavimark_*.ts as unfinished, existing translations are kept,
# and texts the sources no longer have are dropped. Run it after adding or
# changing a text, then translate the new entries (Qt Linguist, or by hand).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-}
if [[ -z $lupdate ]]; then
    for candidate in /usr/lib/qt6/bin/lupdate "$(command -v lupdate6 || true)" "$(command -v lupdate || true)"; do
        if [[ -n $candidate && -x $candidate ]]; then
            lupdate=$candidate
            break
        fi
    done
fi
if [[ -z $lupdate ]]; then
    echo "update-translations: lupdate not found; install qt6-l10n-tools" >&2
    exit 1
fi

cd "$root"
"$lupdate" -silent -no-obsolete -locations none -extensions cpp,h src -ts translations/tavimark_*.ts
# lupdate writes the files anew; each keeps its licence line after the XML
# declaration.
for file in translations/tavimark_*.ts; do
    grep -q 'SPDX-License-Identifier' "$file" ||
        sed -i '1a <!-- SPDX-License-Identifier: GPL-3.0-or-later -->' "$file"
done
