#!/usr/bin/env bash
# Runs check-images.sh against small made-up client trees: names that the qrc
# carries pass, a missing name, a missing file and an uncovered pattern fail.
#
#   check-images-test.sh CHECK_IMAGES_SCRIPT
set -euo pipefail
script=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() { # expected status, case name, client dir, [qrc]
    local want=$1 name=$2 dir=$3 qrc=${4:-}
    local got=0
    KESTROVA_IMAGES_QRC=${qrc:-$script_qrc} bash "$script" "$dir" >"$work/out" 2>&1 || got=$?
    if [ "$got" -ne "$want" ]; then
        echo "FAIL $name: status $got, wanted $want"
        cat "$work/out"
        failures=$((failures + 1))
    else
        echo "PASS $name"
    fi
}
script_qrc=$(dirname "$script")/images.qrc

# Every form of reference the code uses, all present.
mkdir -p "$work/good/ui"
cat >"$work/good/ui/page.ui" <<'UI'
<iconset resource="resources/images.qrc"><normaloff>:/resources/back.svg</normaloff></iconset>
<string notr="true">QLabel{image: url(:/resources/shield-green.svg);}</string>
UI
cat >"$work/good/ui/page.cpp" <<'CPP'
setIcon(QIcon(":/resources/connect-orange.svg"));
QPixmap(QString(":/resources/flags/%1.png").arg(code.toUpper()));
QIcon(":/MainWindow/Images/vpnlogo.ico"); QPixmap(":/title_button/resources/title_button/close_hover.png");
CPP
expect 0 "names the qrc carries" "$work/good"

# A name the qrc lacks, in a style sheet of a form.
mkdir -p "$work/missing"
echo '<string>QLabel{image: url(:/resources/shield-blue.svg);}</string>' >"$work/missing/w.ui"
expect 1 "name missing from the qrc" "$work/missing"

# A name that only exists without its prefix folder.
mkdir -p "$work/prefix"
echo 'QIcon(":/resources/close_normal.png");' >"$work/prefix/w.cpp"
expect 1 "title button under the wrong prefix" "$work/prefix"

# A pattern whose folder the qrc does not carry.
mkdir -p "$work/pattern"
echo 'QPixmap(QString(":/resources/cities/%1.png"));' >"$work/pattern/w.cpp"
expect 1 "pattern without files" "$work/pattern"

# A qrc entry whose file is gone.
mkdir -p "$work/qrc" "$work/empty"
printf '<RCC><qresource prefix="/resources">\n<file>gone.svg</file>\n</qresource></RCC>\n' >"$work/qrc/images.qrc"
expect 1 "qrc entry without its file" "$work/empty" "$work/qrc/images.qrc"

# The real client tree (whatever code exists yet) against the real qrc.
expect 0 "the client's own code" "$(dirname "$(dirname "$(dirname "$script")")")"

echo "$((6 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
