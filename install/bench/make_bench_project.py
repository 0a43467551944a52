#!/usr/bin/env python3
"""Writes the project folder of the install benchmark: a pjcfg.ini whose file
items install every file of gen_payload.py's output under the application
folder, with one sub-folder item per folder, in pre-order.
With --wizard the project also has the pages a person clicks through (ready,
installing, finish) and installs into bench-wizard in the 64-bit program files folder.
Usage: make_bench_project.py PAYLOAD_DIR PROJECT_DIR [--wizard]"""
import os, sys

ALL_SYSTEMS = 0xC007FE  # every Windows version, 32- and 64-bit
CHECKED = 1 << 30       # component checked when no setup type is chosen

payload, project = sys.argv[1], sys.argv[2]
wizard = "--wizard" in sys.argv[3:]
os.makedirs(project, exist_ok=True)
lines = ["[s.c]", "Lang0=English{en-US:1033}", "DefaultLang=en-US", "chkUnins=0",
         "[en-US.s.c]", "Var.AppName=Bench"]
if wizard:
    lines += ["FTitle=Bench Wizard",
              "[s.i]", "Comp.editAppTxt=<ProgramFilesDir(64bit)>", "Comp.editAppDir=bench-wizard",
              "[s.p]", "Page0.IdDiff=1", "Page1.IdDiff=2", "Page2.IdDiff=3",
              "p1.Id=102", "p2.Id=112",
              "p3.Id=113", "p3.Flags=145",  # finish without the reboot choice
              "[en-US.s.p]", "p1.labBack1.labBTitle=Ready", "p1.labInfo=Click Next to install.",
              "p2.labBack1.labBTitle=Installing", "p3.labBack1.labBTitle=Installed",
              "p3.btnNext=&Finish"]
lines.append("[s.f]")
items = []  # (parent, type, source, src)

def add(parent, kind, source, src=None):
    items.append((parent, kind, source, src))
    return len(items)

group = add(0, 2, "Bench")
root = add(group, 3, "<Application Folder>")

def walk(folder_id, rel):
    here = os.path.join(payload, rel)
    names = sorted(os.listdir(here))
    for name in names:  # files of this folder first, then its sub-folders
        if os.path.isfile(os.path.join(here, name)):
            n = len(items) + 1
            add(folder_id, 5, "%d*%s" % (n, name), os.path.join("payload-src", rel, name))
    for name in names:
        if os.path.isdir(os.path.join(here, name)):
            sub = add(folder_id, 4, name)
            walk(sub, os.path.join(rel, name))

walk(root, "")
for n, (parent, kind, source, src) in enumerate(items, 1):
    state = CHECKED if kind == 2 else 0
    mode = 2 if kind == 5 else 0  # files always replace, so reruns do not ask
    lines.append("%d.Item=%d;\\t%d;\\t%d;\\t%d;\\t1;\\t%d;\\t0;\\t%s" % (n, parent, kind, ALL_SYSTEMS, mode, state, source))
    if src:
        lines.append("%d.Item.Src=%s" % (n, src.replace(os.sep, "/")))
with open(os.path.join(project, "pjcfg.ini"), "w", newline="\r\n") as f:
    f.write("\n".join(lines) + "\n")
link = os.path.join(project, "payload-src")
if not os.path.exists(link):
    os.symlink(os.path.abspath(payload), link)
print("items=%d files=%d" % (len(items), sum(1 for i in items if i[1] == 5)))
