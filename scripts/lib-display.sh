# Helpers that drive the real program on a virtual display like a user:
# find its windows, click its controls, type, answer boxes, take screenshots,
# close it with its close box. Sourced, never run; after lib.sh.
#
# They use these variables of the sourcing script:
#   program            process id of the running program
#   work               its scratch folder (the program's output is in $work/program.log)
#   shots              folder of the screenshots; step counts them
#   layout             output of tests/app/window_layout (where the controls lie)
#   window_x window_y  the main window's position on the screen
# shellcheck shell=bash

shot() {
    step=$((step + 1))
    import -window root "$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")"
}

fail() {
    shot "failure"
    cat "$work/program.log" >&2 || true
    die "$*"
}

check_no_error() {
    local box
    kill -0 "$program" 2>/dev/null || fail "the program ended unexpectedly"
    box="$(xdotool search --onlyvisible --name '^Erro de sistema$' 2>/dev/null | head -1 || true)"
    # Its text can only be read off the screenshot: message boxes here offer no copy.
    [ -z "$box" ] || fail "an \"Erro de sistema\" box appeared; its text is on the failure screenshot in $shots"
}

# Waits (bounded) for a window of the given title and prints its id; an error
# box showing up instead fails the run at once.
wait_window() {
    local title="$1" id
    for _ in $(seq 1 100); do
        check_no_error
        id="$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1 || true)"
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    fail "no window titled $title appeared"
}

# Answers a message box with the key a user would press, after a screenshot
# of it, and waits until it is gone.
answer() {
    local title="$1" key="$2" name="$3" box
    box="$(wait_window "$title")"
    sleep 0.3
    shot "$name"
    xdotool windowfocus --sync "$box" key "$key"
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name "$title" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the box $title did not close after $key: the program ignored the key"
}

# Clicks the middle of a control, found by its name in the layout.
click() {
    local x y w h
    read -r x y w h < <(awk -v name="$1" '$1 == name { print $2, $3, $4, $5 }' "$layout") || true
    [ -n "${h:-}" ] || fail "no control named $1 in the layout"
    xdotool mousemove --sync $((window_x + x + w / 2)) $((window_y + y + h / 2)) click 1
    sleep 0.2
}

# Replaces the text of an edit box as a user does: click, select all, type.
type_into() {
    click "$1"
    xdotool key ctrl+a
    xdotool type --delay 10 "$2"
    sleep 0.1
}

settle() {
    sleep "${1:-0.7}"
    check_no_error
}

# Closing a window as its close box does: the window manager's delete request.
close_window() {
    python3 - "$1" <<'PY'
import ctypes
import sys

xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XInternAtom.restype = ctypes.c_ulong
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
xlib.XFlush.argtypes = xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


display = xlib.XOpenDisplay(None)
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = int(sys.argv[1])
event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
xlib.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event))
xlib.XFlush(display)
xlib.XCloseDisplay(display)
PY
}

# Stops the program if it still runs. On SIGTERM it ends as its close box
# ends it, which a box it shows (a settings file it cannot write) can hold up:
# so a last KILL may be needed.
stop_program() {
    kill "$program" 2>/dev/null || true
    for _ in $(seq 1 30); do
        kill -0 "$program" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$program" 2>/dev/null || true
}

# Closes the main window with its close box and waits (bounded) until the
# program has ended on its own with status 0.
close_program() {
    close_window "$1"
    for _ in $(seq 1 100); do
        kill -0 "$program" 2>/dev/null || break
        check_no_error
        sleep 0.1
    done
    kill -0 "$program" 2>/dev/null && fail "the program did not end when its window was closed"
    wait "$program" || fail "the program ended with status $?"
}
