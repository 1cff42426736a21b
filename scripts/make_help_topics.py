#!/usr/bin/env python3
"""Writes the program's help topics (data/help/*.rtf) from the texts below and the pictures in
PICTURES (PNG files of the program's own windows, taken offscreen by scripts/make_help_pictures.sh):
one file per chapter, and Contents.rtf with the list of chapters as links. Help Topics shows its
links as the contents list; [[File.rtf|text]] in a text links to another chapter.

usage: make_help_topics.py PICTURES OUTDIR"""
import re
import struct
import sys
from pathlib import Path

CHAPTERS = [
    ("GettingStarted.rtf", "Getting started", [
        ("p", "The Korvath Tuning System reads the calibration of an aftermarket transmission controller, "
              "lets you change its shift curves and settings, and writes it back. Calibrations are kept as "
              "**.qvr** files."),
        ("pic", "startbox.png"),
        ("p", "At the first start the *Getting Started* box offers two ways in: **Open** an existing "
              "calibration file (File > Open, Ctrl+O), or create a **New** one (File > New, Ctrl+N), which "
              "starts the *Initial Setup* wizard. Untick *Show this message at startup* to skip the box; "
              "Help > Getting Started shows it again."),
        ("p", "The main window shows the shift curves of the calibration on a graph, the *Graph Controls* "
              "bar beside it and the *Dashboard* below it. The status bar tells what the program is doing."),
        ("pic", "mainwindow.png"),
    ]),
    ("Connecting.rtf", "Connecting a controller and choosing the port", [
        ("p", "A controller is connected either by a serial cable (or a USB-to-serial adapter) or by "
              "**USB Direct**. USB Direct is found by itself and needs no settings."),
        ("p", "For a serial connection choose View > **Communication Setup**. Pick the port from "
              "*Available COM Ports*, power up the controller and press **Find Controller**. If you plug in "
              "an adapter while the box is open, press **Refresh Port List**. The chosen port is kept for the "
              "next start, and so is the adapter: plugged into another socket it is found under its new "
              "number."),
        ("pic", "comselect.png"),
        ("item", "On Linux the COM numbers stand for devices: COM1 to COM32 are /dev/ttyS0 to /dev/ttyS31, "
                 "COM33 to COM64 are /dev/ttyUSB0 to /dev/ttyUSB31, COM65 to COM96 are /dev/ttyACM0 to "
                 "/dev/ttyACM31. A link named COM<n> in the ports folder beside the settings file points a "
                 "number at any other device."),
        ("item", "USB Direct needs the udev rule shipped with the program (70-korvath-usb.rules) so that "
                 "your user may open the device."),
    ]),
    ("Calibration.rtf", "Reading and writing a calibration", [
        ("p", "File > **Read Calibration from Controller** reads the table chosen with File > Read/Write "
              "Table #1 or #2 into the open calibration. File > **Write Calibration to Controller** writes "
              "the open calibration into that table. The status bar shows the progress; do not unplug the "
              "controller or switch off the ignition while a transfer runs."),
        ("p", "**Save** (Ctrl+S) and **Save As** keep the calibration as a .qvr file. Saving writes a new "
              "file first and then replaces the old one, so a failed save never destroys the previous "
              "calibration. Older calibration files are opened with File > Open and converted on saving."),
        ("p", "File > *E-mail Data to Tech Support for Assistance* and File > *Dump Controller System State* "
              "prepare files for support."),
        ("p", "Every read and write keeps a restore point: Tools > **Restore Points** lists them and writes "
              "one back after a bad write. Before a write the calibration is checked, and the write asks "
              "first when something looks wrong. The shift curves themselves are described under "
              "[[Curves.rtf|Editing the curves]]."),
    ]),
    ("Curves.rtf", "Editing the curves", [
        ("p", "The graph shows each shift curve of the calibration over the throttle position. The legend "
              "buttons of the *Graph Controls* bar show or hide each curve; hovering a button names it in the "
              "status bar."),
        ("pic", "mainwindow.png"),
        ("p", "Drag a point of a visible curve with the mouse to change it; the callout above the graph "
              "shows the value as you move. The graph keeps the points of a curve in order and within the "
              "limits that the controller's definition gives. File > Print prints the graph, and Tools > "
              "**Export Curves** saves it as a picture or a CSV table."),
        ("p", "While a controller is connected the crosshair shows where the car is on the curves; see "
              "[[LiveData.rtf|Live data and the dashboard]]."),
    ]),
    ("LiveData.rtf", "Live data and the dashboard", [
        ("p", "View > **Dashboard** shows or hides the dashboard. While it is shown and a controller is "
              "connected, its displays are filled with live data from the controller (speed, gear, "
              "temperatures and the like, as the definition lists them). Hiding or closing the dashboard "
              "stops the polling."),
        ("p", "Press Shift+F1 and click a display to read what it shows."),
    ]),
    ("Settings.rtf", "The settings pages", [
        ("p", "View > **Configure System Settings** opens the *System Settings* pages built from the "
              "controller's definition file: check boxes, choices and values for the transmission, the "
              "shift behaviour and the vehicle. A change takes effect in the open calibration at once and is "
              "sent to the controller with the next write."),
        ("p", "View > **Initial Setup Wizard** walks through the same pages one after the other, as File > "
              "New does. Buttons on the pages may open a help topic in this viewer."),
    ]),
    ("CommandLine.rtf", "The command-line tool and the simulator", [
        ("p", "**korvath-cli** does the program's work without windows, for workshops and scripts. "
              "Examples:"),
        ("code", "korvath-cli identify --port 9"),
        ("code", "korvath-cli read Car.qvr --table 1 --port 9"),
        ("code", "korvath-cli write Car.qvr --table 1 --port 9"),
        ("code", "korvath-cli convert Old.cal New.qvr"),
        ("p", "korvath-cli --help lists every command. Results are printed as JSON; the exit status tells "
              "whether the command succeeded."),
        ("p", "**korvath-sim** plays a controller on a pseudo-terminal, for trying the program without a "
              "car. It prints the device path on its first line; --link makes a COM<n> link for it:"),
        ("code", "korvath-sim --link ~/.config/korvath/ports/COM9"),
        ("p", "Then choose COM9 in Communication Setup (see [[Connecting.rtf|Connecting a controller]]). "
              "korvath-sim --help lists its options."),
    ]),
]

INTRO = [
    ("p", "This help describes the Korvath Tuning System. The chapters are:"),
]
ABOUT_PICTURE = "about.png"


def esc(text):
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            code = ord(ch)
            out.append("\\u%d?" % (code if code < 32768 else code - 65536))
    return "".join(out)


def link(target, text):
    return '{\\field{\\*\\fldinst HYPERLINK "%s"}{\\fldrslt %s}}' % (target, text)


def inline(text):
    # **bold**, *italic* and [[File.rtf|a link]]
    text = esc(text)
    text = re.sub(r"\*\*(.+?)\*\*", r"{\\b \1}", text)
    text = re.sub(r"\*(.+?)\*", r"{\\i \1}", text)
    return re.sub(r"\[\[([A-Za-z]+\.rtf)\|(.+?)\]\]", lambda m: link(m.group(1), m.group(2)), text)


def png_size(data):
    return struct.unpack(">II", data[16:24])


def picture(path, max_width_twips=8400):
    data = path.read_bytes()
    w, h = png_size(data)
    goal_w = w * 15  # 96 pixels an inch
    goal_h = h * 15
    if goal_w > max_width_twips:
        goal_h = goal_h * max_width_twips // goal_w
        goal_w = max_width_twips
    hexdata = data.hex()
    lines = "\n".join(hexdata[i:i + 128] for i in range(0, len(hexdata), 128))
    return ("{\\*\\shppict{\\pict\\pngblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d\n%s}}"
            % (w, h, goal_w, goal_h, lines))


def block(kind, value, pictures):
    if kind == "p":
        return "\\pard\\sa120 %s\\par\n" % inline(value)
    if kind == "item":
        return "\\pard\\li360\\fi-240\\sa80 \\bullet  %s\\par\n" % inline(value)
    if kind == "code":
        return "\\pard\\li360\\sa40 {\\f1\\fs18 %s}\\par\n" % esc(value)
    if kind == "pic":
        return "\\pard\\qc\\sb60\\sa160 %s\\par\n" % picture(pictures / value)
    raise ValueError(kind)


def chapter_body(title, blocks, pictures):
    body = "\\pard\\sb240\\sa120 {\\b\\fs32\\cf1 %s}\\par\n" % esc(title)
    return body + "".join(block(k, v, pictures) for k, v in blocks)


def document(body):
    return ("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720"
            "{\\fonttbl{\\f0\\fswiss DejaVu Sans;}{\\f1\\fmodern DejaVu Sans Mono;}}"
            "{\\colortbl;\\red31\\green63\\blue127;}\n\\fs20\n" + body + "}\n")


def main():
    pictures, out = Path(sys.argv[1]), Path(sys.argv[2])
    out.mkdir(parents=True, exist_ok=True)
    for name, title, blocks in CHAPTERS:
        (out / name).write_text(document(chapter_body(title, blocks, pictures)), encoding="ascii")
    contents = "\\pard\\qc\\sa120 {\\b\\fs40\\cf1 Korvath Tuning System Help}\\par\n"
    contents += block("pic", ABOUT_PICTURE, pictures)
    contents += "".join(block(k, v, pictures) for k, v in INTRO)
    for i, (name, title, _) in enumerate(CHAPTERS, 1):
        contents += "\\pard\\li360\\sa40 %d. %s\\par\n" % (i, link(name, esc(title)))
    contents += block("p", "Choose a chapter here or in the list beside the text. Back and Forward return to "
                           "the topics you read; Find looks for a word in the topic shown.", pictures)
    (out / "Contents.rtf").write_text(document(contents), encoding="ascii")


if __name__ == "__main__":
    main()
