#!/usr/bin/env bash
# Writes ../images.qrc from the files present, so that every image resolves
# at the path the code uses: ":/resources/<name>", ":/resources/flags/<CODE>.png",
# ":/title_button/resources/title_button/<name>.png" and the tray's first icon
# ":/MainWindow/Images/vpnlogo.ico".
set -euo pipefail
out=$(cd "$(dirname "$0")/.." && pwd)
cd "$out"
{
    echo '<!DOCTYPE RCC>'
    echo '<RCC version="1.0">'
    echo '    <qresource prefix="/resources">'
    for f in $(LC_ALL=C ls *.svg *.png qvm.ico flags/*.png); do
        echo "        <file>$f</file>"
    done
    echo '    </qresource>'
    echo '    <qresource prefix="/title_button/resources/title_button">'
    for f in $(LC_ALL=C ls title_button/*.png); do
        echo "        <file alias=\"$(basename "$f")\">$f</file>"
    done
    echo '    </qresource>'
    echo '    <qresource prefix="/MainWindow/Images">'
    echo '        <file alias="vpnlogo.ico">vpnlogo.ico</file>'
    echo '    </qresource>'
    echo '</RCC>'
} >images.qrc
