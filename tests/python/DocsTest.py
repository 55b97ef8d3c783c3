# SPDX-License-Identifier: MIT
"""docs/python.md run as a reader runs it, /usr/bin/python3 being a virtual environment's over
Debian's (it installs into itself, so the machine stays as it was): the pip command installs a
copy of python/ offline, the other commands run as written, and each Python snippet, in a
folder of its own, prints what the text block after it shows.
    /usr/bin/python3 DocsTest.py SOURCE_DIR WORK_DIR"""
import os
import pathlib
import re
import shlex
import shutil
import subprocess
import sys

source, work = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
shutil.copytree(source / "python", work / "python",
                ignore=shutil.ignore_patterns("build", "*.egg-info", "__pycache__"))
(work / "examples").symlink_to(source / "examples")
subprocess.run([sys.executable, "-m", "venv", "--without-pip", "--system-site-packages",
                work / "venv"], check=True)
python = str(work / "venv" / "bin" / "python3")
environment = dict(os.environ, LANG="C.UTF-8")
for name in ("LC_ALL", "LC_MESSAGES", "PYTHONHOME", "PYTHONPATH"):
    environment.pop(name, None)


def run(command, folder, expected=None):
    if command[0] == "/usr/bin/python3":
        command = [python] + command[1:]
    done = subprocess.run(command, cwd=folder, env=environment, capture_output=True, text=True)
    if done.returncode != 0 or (expected is not None and done.stdout != expected):
        sys.exit(f"{command} in {folder} failed ({done.returncode}):\n{done.stdout}{done.stderr}"
                 f"\nexpected:\n{expected}")


blocks = re.findall(r"```(\w+)\n(.*?)```", (source / "docs/python.md").read_text(), re.S)
commands = [line for kind, text in blocks if kind == "sh" for line in text.splitlines()]
if not commands[0].startswith("/usr/bin/python3 -m pip install "):
    sys.exit(f"the first command installs no package: {commands[0]}")
if commands[0] not in (source / "README.md").read_text().splitlines():
    sys.exit(f"the README installs the package otherwise than: {commands[0]}")
run(shlex.split(commands[0]) + ["--no-index"], work)
for line in commands[1:]:
    run(shlex.split(line), work)

snippets = 0
for index, (kind, text) in enumerate(blocks):
    if kind != "python":
        continue
    folder = work / f"snippet-{index}"
    folder.mkdir()
    following = blocks[index + 1] if index + 1 < len(blocks) else ("", "")
    run([python, "-c", text], folder, following[1] if following[0] == "text" else "")
    snippets += 1
print(f"{len(commands)} commands and {snippets} snippets of docs/python.md ran")
