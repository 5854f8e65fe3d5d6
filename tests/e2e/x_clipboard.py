#!/usr/bin/env python3
# Owns the X CLIPBOARD with the UTF-8 text read from stdin, so that ctrl+v
# pastes it into a Wine program: xdotool cannot type CJK text into Wine.
# Prints the PID of the process that serves the text, then returns; that
# process ends when another client takes the clipboard or after an idle while.
import ctypes
import ctypes.util
import os
import select
import sys

IDLE_SECONDS = 60
SELECTION_CLEAR, SELECTION_REQUEST, SELECTION_NOTIFY = 29, 30, 31
XA_ATOM = 4


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", ctypes.c_ulong), ("requestor", ctypes.c_ulong),
                ("selection", ctypes.c_ulong), ("target", ctypes.c_ulong), ("property", ctypes.c_ulong),
                ("time", ctypes.c_ulong)]


class SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


def xlib():
    x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    ulong, ptr = ctypes.c_ulong, ctypes.c_void_p
    x.XOpenDisplay.restype, x.XOpenDisplay.argtypes = ptr, [ctypes.c_char_p]
    x.XDefaultRootWindow.restype, x.XDefaultRootWindow.argtypes = ulong, [ptr]
    x.XCreateSimpleWindow.restype = ulong
    x.XCreateSimpleWindow.argtypes = [ptr, ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                      ctypes.c_uint, ulong, ulong]
    x.XInternAtom.restype, x.XInternAtom.argtypes = ulong, [ptr, ctypes.c_char_p, ctypes.c_int]
    x.XSetSelectionOwner.argtypes = [ptr, ulong, ulong, ulong]
    x.XGetSelectionOwner.restype, x.XGetSelectionOwner.argtypes = ulong, [ptr, ulong]
    x.XConnectionNumber.argtypes = [ptr]
    x.XPending.argtypes = [ptr]
    x.XNextEvent.argtypes = [ptr, ptr]
    x.XChangeProperty.argtypes = [ptr, ulong, ulong, ulong, ctypes.c_int, ctypes.c_int, ptr, ctypes.c_int]
    x.XSendEvent.argtypes = [ptr, ulong, ctypes.c_int, ctypes.c_long, ptr]
    x.XFlush.argtypes = [ptr]
    return x


def serve(x, display, window, text, atoms):
    clipboard, utf8, targets = atoms
    event = (ctypes.c_char * 192)()
    fd = x.XConnectionNumber(display)
    while True:
        if not x.XPending(display) and not select.select([fd], [], [], IDLE_SECONDS)[0]:
            return
        x.XNextEvent(display, event)
        kind = ctypes.cast(event, ctypes.POINTER(ctypes.c_int))[0]
        if kind == SELECTION_CLEAR:
            return
        if kind != SELECTION_REQUEST:
            continue
        request = ctypes.cast(event, ctypes.POINTER(SelectionRequest))[0]
        prop = request.property or request.target  # obsolete clients send no property
        if request.target == targets:
            offered = (ctypes.c_ulong * 2)(targets, utf8)
            x.XChangeProperty(display, request.requestor, prop, XA_ATOM, 32, 0, offered, 2)
        elif request.target == utf8:
            x.XChangeProperty(display, request.requestor, prop, utf8, 8, 0, text, len(text))
        else:
            prop = 0  # refused: the requestor then asks for another target
        reply = SelectionNotify(SELECTION_NOTIFY, 0, 1, display, request.requestor, request.selection,
                                request.target, prop, request.time)
        x.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(reply))
        x.XFlush(display)


def main():
    text = sys.stdin.buffer.read()
    x = xlib()
    display = x.XOpenDisplay(None)
    if not display:
        print("x_clipboard: cannot open the display", file=sys.stderr)
        return 1
    window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
    atoms = [x.XInternAtom(display, name, 0) for name in (b"CLIPBOARD", b"UTF8_STRING", b"TARGETS")]
    x.XSetSelectionOwner(display, atoms[0], window, 0)
    x.XFlush(display)
    if x.XGetSelectionOwner(display, atoms[0]) != window:
        print("x_clipboard: could not take the clipboard", file=sys.stderr)
        return 1
    # The owner is set before the parent returns, so a paste right after finds it.
    child = os.fork()
    if child:
        print(child, flush=True)
        os._exit(0)
    devnull = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2):
        os.dup2(devnull, fd)
    serve(x, display, window, text, atoms)
    return 0


if __name__ == "__main__":
    sys.exit(main())
