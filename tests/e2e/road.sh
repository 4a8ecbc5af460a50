#!/usr/bin/env bash
# The clerk's road through the whole program, in a real window: pxdrom on a
# fresh demo installation under Xvfb, driven from outside by keys and clicks
# (xdotool), and checked by what the windows show (their titles), what the
# program writes (work files, saved lists, exports, print jobs as PDF files)
# and an empty error log at the end. Every wait is on something the program
# shows or writes, bounded, never a fixed sleep.
#
#   road.sh BIN_DIR WORK_DIR [WIDTHxHEIGHT]
#
# The display is 1280 x 1024 unless given: the screens are made for 1024 x
# 768 (there they stand at the top-left corner), larger displays centre them.
set -eEuo pipefail
# A command that fails outside the road's own checks says where.
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND" >&2' ERR

here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)
work=$2
screen_size=${3:-1280x1024}
[[ "$screen_size" =~ ^[0-9]+x[0-9]+$ ]] || { echo "FAILED: screen size \"$screen_size\" is not WIDTHxHEIGHT"; exit 1; }
# The steps that drive the keys the kit hands on as the screens' rules ask
# (Tab along the tab order, arrows, space in a list, a group chosen with
# Enter in its pop-up): PX_ROAD_KEY_STEPS=0 leaves them out.
key_steps=${PX_ROAD_KEY_STEPS:-1}
# PX_ROAD_SHOTS=DIR keeps a picture of the display (PNG) each time a window
# has come up and settled: DIR/NN-title.png, numbered in the road's order.
shots=${PX_ROAD_SHOTS:-}
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

# The demo as a dealer installs it: the set-up from its CDs and files.
"$bin/pxmkdemo" --setup "$work/demo" >"$work/pxmkdemo.log"
inst="$work/demo/c/PXDROM"
print="$work/print"
mkdir -p "$print"

# --- the display and the program ---------------------------------------------

exec 3< <(exec Xvfb -displayfd 1 -screen 0 "${screen_size}x24" -nolisten tcp 2>"$work/xvfb.log")
xvfb_pid=$!
read -r -t 30 display_no <&3 || { echo "FAILED: Xvfb did not start"; exit 1; }
export DISPLAY=":$display_no"
unset QT_QPA_PLATFORM  # a real window on that display
pxdrom_pid=""
cleanup() {
    [[ -n "$pxdrom_pid" ]] && kill "$pxdrom_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

# The program runs in a session with its own bus, as on a desktop: Qt's
# accessibility bridge connects to the session bus when the first window
# shows. (Without one, libdbus tries to start a bus for the display and keeps
# the buffer of that failed attempt until the process ends.)
(cd "$inst" && PXDROM_PRINT_DIR="$print" exec dbus-run-session -- "$bin/pxdrom" >"$work/pxdrom.log" 2>&1) &
pxdrom_pid=$!

# --- what the driver does ------------------------------------------------------

step() { echo "--- $*"; }

# To standard error: a failure inside $(...) must show too.
fail() {
    exec 1>&2
    echo "FAILED: $*"
    echo "windows shown: $(windows)"
    command -v import >/dev/null && import -window root "$work/failure.png" 2>/dev/null && echo "screen: $work/failure.png"
    cat "$work/pxdrom.log" 2>/dev/null | tail -20
    exit 1
}

# The longest the road waits for one thing the program shows or writes. A
# wait ends as soon as its condition holds; the limit is only there so that
# a road that went wrong ends, and is generous because a sanitizer build on
# a busy machine is many times slower than the program a clerk runs.
limit=${PX_ROAD_WAIT_LIMIT:-180}

# wait_until WHAT COMMAND...: waits until the command succeeds.
wait_until() {
    local what=$1 end=$((SECONDS + limit))
    shift
    until "$@"; do
        ((SECONDS < end)) || fail "$what"
        sleep 0.05
    done
}

# Titles of the windows shown, one line.
windows() { xdotool search --onlyvisible --name '.' getwindowname %@ 2>/dev/null | tr '\n' '|'; }

# The title of the window that has the keyboard.
focused() { xdotool getwindowfocus getwindowname 2>/dev/null || true; }

# Waits until the window with the keyboard shows the same picture twice in a
# row: the screen has done what it does when it opens (its focus, its list).
# A window that goes while it is grabbed has not settled; one that keeps
# changing for 10 s (a flashing dialog) is taken as it is.
settle() {
    local before="" now end=$((SECONDS + 10))
    while ((SECONDS < end)); do
        now=$(xwd -silent -id "$(xdotool getwindowfocus 2>/dev/null)" 2>/dev/null | md5sum) || now="gone"
        [[ "$now" != "gone" && "$now" == "$before" ]] && return 0
        before=$now
        sleep 0.1
    done
}

# Waits until a window of that exact title is shown, has the keyboard and
# has settled.
has_keyboard() {
    kill -0 "$pxdrom_pid" 2>/dev/null || fail "the program ended while waiting for \"$1\""
    [[ "$(focused)" == "$1" ]]
}
wait_window() {
    wait_until "no window \"$1\" with the keyboard" has_keyboard "$1"
    settle
    shot
}

# Waits until the window with the keyboard is another than `title`.
wait_not() {
    wait_until "window \"$1\" stayed" not has_keyboard "$1"
    settle
    shot
}

# A picture of the display under PX_ROAD_SHOTS, named after the window with
# the keyboard; a window waited for again in a row is taken once.
shot_no=0
shot_last=""
shot() {
    [[ -n "$shots" ]] || return 0
    local name window
    window=$(xdotool getwindowfocus 2>/dev/null || true)
    [[ "$window" != "$shot_last" ]] || return 0
    shot_last=$window
    name=$(focused | tr -cs 'A-Za-z0-9' '-' | tr 'A-Z' 'a-z' | sed 's/^-*//; s/-*$//')
    shot_no=$((shot_no + 1))
    mkdir -p "$shots"
    import -window root "$(printf '%s/%02d-%s.png' "$shots" "$shot_no" "${name:-none}")"
}
not() { ! "$@"; }

# Waits until a file matching the pattern exists (and is not empty).
file_written() { compgen -G "$1" >/dev/null && [[ -s "$(compgen -G "$1" | head -1)" ]]; }
wait_file() { wait_until "no file $1" file_written "$1"; }

key() { xdotool key --delay 60 "$@"; }
type_text() { xdotool type --delay 40 "$1"; }

# A click at a point of the window that has the keyboard (its own
# coordinates: the screens lay their controls out at fixed places), then the
# screen settles.
click_at() {
    xdotool mousemove --window "$(xdotool getwindowfocus)" "$1" "$2" click 1
    settle
}

# A main-menu item: its buttons stand 50 pixels apart from (320, 81).
menu_item() {
    wait_window "$menu"
    click_at 320 $((81 + 50 * ($1 - 1)))
}


# Waits for the next print job (the program numbers its PDF files) and
# gives its text.
# It runs inside $(...): the count of jobs read is kept in a file, as a
# variable set there would be lost and every call would read the first job.
next_print_text() {
    local jobs pdf
    jobs=$(( $(cat "$work/print.jobs" 2>/dev/null || echo 0) + 1 ))
    echo "$jobs" >"$work/print.jobs"
    pdf=$(printf '%s/pxdrom-%04d.pdf' "$print" "$jobs")
    # The job is whole once the file ends with the PDF trailer.
    wait_until "no whole print job $pdf" pdf_whole "$pdf"
    pdftotext -layout "$pdf" - 2>/dev/null
}
pdf_whole() { [[ -s "$1" ]] && tail -c 32 "$1" | grep -q '%%EOF'; }

# Number of saved lists in the master folder.
saved_lists() { find "$work/demo/c/MST" -maxdepth 1 -iname 'PXIF[0-9]*.SAV' | wc -l; }

menu="Parts Catalogue - Main Menu"

# --- the road ----------------------------------------------------------------

step "start: the main menu"
wait_window "$menu"

step "help on the menu, and back"
key F1
wait_window "Help"
key F3
wait_window "$menu"

step "vehicle identification by VIN"
menu_item 1
wait_window "Vehicle Identification"
type_text "PX1AVS1600A200123"
key Return
key F10
wait_window "Search Route"

step "search route by keyword"
click_at 620 612  # the keyword box
if ((key_steps)); then
    # Back along the tab order through the inputs of routes 7 to 4 (group,
    # part number 2-0, part-name code, figure number 1-0) and forward again
    # to the keyword: no input keeps the Tab.
    key --repeat 7 shift+Tab
    key --repeat 7 Tab
fi
type_text "FILTER"
key F10
wait_window "Keyword Search Result"
key space Down space
key F10
wait_window "Illustration"

step "the illustration: the two matched references picked, one more from the list"
click_at 700 132
key F10
wait_window "Parts List"

step "the parts list narrowed to the vehicle, two parts marked, printed, priced and saved"
key F10
key Return Return Down Return Return
key F2
text=$(next_print_text)
grep -q "PX1AVS1600" <<<"$text" || fail "the printed list lacks the vehicle"
grep -q "15600-AA837" <<<"$text" || fail "the printed list lacks a marked part"
key F5 F2
wait_not "Parts List"
echo "    price list: \"$(focused)\""
key F3
wait_window "Parts List"
saved_before=$(saved_lists)
key F11  # still the price keys: F11 saves
more_saved_lists() { (( $(saved_lists) > saved_before )); }
wait_until "no saved list written" more_saved_lists
key F4
wait_window "$menu"

# The export's file dialog, which has the export dialog's title: another
# window of that title has the keyboard.
file_dialog_over() { [[ "$(focused)" == "EXPORT" && "$(xdotool getwindowfocus)" != "$1" ]]; }
has_window_focus() { [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]]; }

step "saved lists: the new list opened, a line added, saved, exported as CSV and as text"
menu_item 5
wait_window "SAVED LISTS"
# The lists stand one line each, 19 pixels apart: the new one is the third.
xdotool mousemove --window "$(xdotool getwindowfocus)" 300 112 click --repeat 2 --delay 80 1
wait_window "SAVED LIST"
type_text "15601YZ001A1"
click_at 353 635  # the quantity box
type_text "02"
key Return
key F11
for kind in csv txt; do
    key F12
    wait_window "EXPORT"
    # The file dialog has the export dialog's title: it is there once another
    # window of that title has the keyboard.
    dialog=$(xdotool getwindowfocus)
    key F10
    wait_until "no file dialog for the export" file_dialog_over "$dialog"
    settle
    if ((key_steps)) && [[ $kind == csv ]]; then
        # Cancelled, the file dialog leaves the keyboard to the export
        # dialog, whose F10 opens it again.
        key Escape
        wait_until "the export dialog did not get the keyboard back" has_window_focus "$dialog"
        key F10
        wait_until "no file dialog for the export after a cancel" file_dialog_over "$dialog"
        settle
    fi
    # A file the clerk chooses lies on a drive: C is the demo's disk.
    type_text "$work/demo/c/export.$kind"
    key Return
    wait_file "$work/demo/c/export.$kind"
    wait_window "SAVED LIST"
done
grep -q '15601YZ001A1,02' "$work/demo/c/export.csv" || fail "the CSV export lacks the added line"
# The export program runs on its own: the catalogue went on at once.
exported_txt() { grep -q 'export.txt' "$inst/EXPORTS.LOG" 2>/dev/null; }
wait_until "the export program was not started with the text file" exported_txt
if ((key_steps)); then
    # The list as saved: the first line clicked, Down, one space marks the
    # second: Delete takes exactly those two (14 bytes a line), and F11 saves.
    saved_list=$(ls -t "$work/demo/c/MST/"PXIF[0-9]*.SAV | head -1)
    size_before=$(stat -c %s "$saved_list")
    click_at 100 274
    key Down space
    click_at 526 625  # Delete
    key F11
    two_lines_less() { (( $(stat -c %s "$saved_list") == size_before - 28 )); }
    wait_until "one space and Delete did not take exactly two lines" two_lines_less
fi
key F4
wait_window "$menu"

step "the vehicle: a date typed in the F10 step goes on, and is there after F3 and F10 again"
menu_item 1
wait_window "Vehicle Identification"
key F11
type_text "PX1AVS1600A200123"
key Return
if ((key_steps)); then
    # Tab stops on the year's up-down, whose Up steps the year.
    type_text "2017"
    key Tab Up Tab
else
    type_text "2018"
    key Return
fi
type_text "07"
key F10  # no Enter: the F10 step checks the date
wait_window "Search Route"
# The production date of the vehicle handed on, as the work file has it.
vclinf_date() { dd if="$inst/WORK/VCLINF.TMP" bs=1 skip=94 count=6 2>/dev/null; }
[[ "$(vclinf_date)" == "201807" ]] || fail "the date of the F10 step did not go on: \"$(vclinf_date)\""
key F3
wait_window "Vehicle Identification"
key F10
wait_window "Search Route"
[[ "$(vclinf_date)" == "201807" ]] || fail "the date was lost on the way back: \"$(vclinf_date)\""

step "the vehicle by catalogue and model: F10 goes on from the empty frame-number box"
key F3
wait_window "Vehicle Identification"
key F11 Right
type_text "4410a1"
key Return
type_text "avs16p1std 5meu"
key Return
key F10
wait_window "Search Route"

step "a local part, its own number and name, carried to the saved list"
click_at 57 611  # the local-parts route
wait_window "Local Parts - Figures"
key Return  # figure 9101 marked
key F10
wait_window "Local Parts"
key Return  # its first part picked
key F10
wait_window "Parts List"
key Return  # marked
key F5 F11
local_saved() { grep -l "LA19101-01  01" "$work/demo/c/MST/"PXIF[0-9]*.SAV >/dev/null 2>&1; }
wait_until "no saved list of the local part" local_saved
key F4
wait_window "$menu"

step "a saved vehicle and its production date: the parts list narrowed by the date"
# The demo's first saved vehicle: a sedan found by VIN, made in November
# 2018. Of the oil pump's part numbers for its frame model, 15100-AA430-02
# (08.2018-01.2019) is in force then; -06 and -11 are of other dates.
menu_item 1
wait_window "Vehicle Identification"
key F11
key F2
wait_window "Saved Vehicles"
click_at 300 74  # its first line
wait_window "Vehicle Identification"
key F10
wait_window "Search Route"
click_at 685 306  # the part-name-code route
type_text "15100A"
key F10
wait_window "Illustration"
key F10
wait_window "Parts List"
key F2
text=$(next_print_text)
for part in 02 06 11; do
    grep -q "15100-AA430-$part" <<<"$text" || fail "the whole list lacks 15100-AA430-$part"
done
key F10  # narrowed to the vehicle
key F2
text=$(next_print_text)
grep -q "15100-AA430-02" <<<"$text" || fail "the narrowed list lacks the part in force in 11.2018"
! grep -q "15100-AA430-06\|15100-AA430-11" <<<"$text" || fail "the narrowed list keeps parts of other dates"
# Narrowed by its conditions as they stand: back in list mode, Enter marks
# a line (a key button with the keyboard would open the help).
key F5 F10
key F10
key Return
settle
[[ "$(focused)" == "Parts List" ]] || fail "Enter after the narrowing by conditions went to \"$(focused)\""
key F4
wait_window "$menu"

step "part-number search by part-name code, printed"
menu_item 6
wait_window "Part Number / Part Name Search"
if ((key_steps)); then
    # From the empty name down to the code; the caret goes left over the
    # last character to put the missing one in.
    key Down
    type_text "1560A"
    key Left
    type_text "1"
else
    click_at 155 103
    type_text "15601A"
fi
key Return
wait_file "$inst/WORK/PXHINB1.TMP"
key F2
text=$(next_print_text)
grep -q "15601-YZ001-A1" <<<"$text" || fail "the printed search lacks the part number"
key F4
wait_window "$menu"

step "applicability of a part seen on the way and an unknown one, printed"
menu_item 2
wait_window "Part Number Applicability"
click_at 58 136
type_text "15601YZ001A1"
key Return
if ((key_steps)); then
    # A line chosen with the keyboard and removed with Delete: the line
    # after it is not chosen in its place, so a second Delete removes nothing.
    type_text "17801YZ001A1"
    key Return
    type_text "17801YZ001A1"
    key Return
    key Tab Tab Tab Down Down Tab Return
    key Tab Tab Tab Tab Return
fi
type_text "99999ZZ99999"
key Return
key F10
wait_file "$inst/WORK/SCRTEKI.TMP"
key F2
text=$(next_print_text)
grep -q "4410A1" <<<"$text" || fail "the printed applicability lacks a catalogue"
if ((key_steps)); then
    grep -q "17801-YZ001-A1" <<<"$text" || fail "a second Delete removed a line no one chose"
fi
key F4
wait_window "$menu"

step "part-number list of a catalogue, printed"
menu_item 4
wait_window "Part Number List of a Catalogue"
click_at 166 71
type_text "4410A1"
key F10
key F2
text=$(next_print_text)
grep -q "4410A1" <<<"$text" || fail "the printed part-number list lacks its catalogue"
key F4
wait_window "$menu"

step "price inquiry of two part numbers, printed"
menu_item 3
wait_not "$menu"
type_text "15600AA83704"
key Return
type_text "99999ZZ99999"
key Return
wait_file "$inst/WORK/PXDPRC1.TMP"
key F2
text=$(next_print_text)
grep -q "15600-AA837-04" <<<"$text" || fail "the printed price inquiry lacks its part"
key F4
wait_window "$menu"

if ((key_steps)); then
    step "a user part group chosen from its list with Enter"
    menu_item 7
    wait_window "SET-UP"
    click_at 319 260  # its fourth item
    wait_window "USER PART GROUPS"
    click_at 216 80  # List
    wait_window "USER PART GROUP CODES"
    key Down Return
    # The maintenance screen has the keyboard again, in group entry.
    wait_window "USER PART GROUPS"
    key F4
    wait_window "$menu"
fi

for item in 7 8; do
    step "menu item $item opens its screen and leads back"
    menu_item "$item"
    wait_not "$menu"
    echo "    item $item: \"$(focused)\""
    key F4
    n=0
    until [[ "$(focused)" == "$menu" ]]; do
        ((n++ < 100)) || { key F3; n=0; }
        sleep 0.05
    done
done

step "a failure as a screen first shows: item 8 without its settings file ends on the menu"
mv "$inst/PXDROM.SYS" "$work/PXDROM.SYS.away"
menu_item 8
wait_window "System Error Occurred"
key F4
wait_window "$menu"
# The menu is there and answers its keys.
key F1
wait_window "Help"
key F3
wait_window "$menu"
mv "$work/PXDROM.SYS.away" "$inst/PXDROM.SYS"

step "end of program"
key F3
program_gone() { ! kill -0 "$pxdrom_pid" 2>/dev/null; }
wait_until "the program did not end" program_gone
wait "$pxdrom_pid" || fail "the program ended with an error"
pxdrom_pid=""

step "nothing left behind"
log=$(find "$work/demo" -iname 'PXERROR.LOG' -size +0 | head -1)
[[ -z "$log" ]] || { cat "$log"; fail "the error log is not empty"; }
# The set-up keeps the environment file as it was before it (PXDROM.BAK).
left=$(find "$inst/WORK" -type f ! -name PXDROM.BAK | head -5)
[[ -z "$left" ]] || fail "work files left: $left"

echo "end-to-end road: passed"
