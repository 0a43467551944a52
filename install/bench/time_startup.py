#!/usr/bin/env python3
"""Times the start-up of a packed setup under Wine: from starting it until it
reports its opened payload on standard output ("velmora-runtime: payload
..."), the wizard then being about to show. The setup is then ended with the
process group this script started. Prints the seconds.
Usage: time_startup.py WINE_SH SETUP.exe"""
import os, signal, subprocess, sys, time

wine, setup = sys.argv[1], sys.argv[2]
start = time.monotonic()
process = subprocess.Popen([wine, setup], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                           start_new_session=True)
line = b""
try:
    for line in process.stdout:
        if line.startswith(b"velmora-runtime: payload"):
            break
    elapsed = time.monotonic() - start
finally:
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    process.wait()
if not line.startswith(b"velmora-runtime: payload found"):
    sys.exit("the setup did not report its payload: %r" % line)
print("%.3f" % elapsed)
