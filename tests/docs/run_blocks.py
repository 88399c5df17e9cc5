# SPDX-License-Identifier: MIT
"""Runs the documentation's sh, console and python blocks and checks what the others name.
usage: run_blocks.py SOURCE_DIR BIN_DIR LIB_DIR SCRATCH_DIR MODULE_PYTHON"""
import os, re, shutil, subprocess, sys
from pathlib import Path

source, bindir, libdir, scratch = (Path(arg).resolve() for arg in sys.argv[1:5])
module_python = sys.argv[5] if Path(sys.argv[5]).exists() else sys.executable
pages = [p for p in [source / "README.md", *sorted((source / "docs").glob("*.md")),
                     *(source / d / "README.md" for d in ("python", "matlab", "dotnet"))] if p.exists()]
code = "\n".join(p.read_text(errors="replace") for d in ("src", "include", "python", "matlab", "dotnet", "cmake",
                 "web", "examples", "tests") for p in (source / d).rglob("*")
                 if p.is_file() and p.suffix != ".md" and "node_modules" not in p.parts)
code += "".join((source / f).read_text() for f in ("CMakeLists.txt", "CMakePresets.json", "setup.py"))
failures, notes = [], []
PROGRAMS = ("wfconv-csv", "wfconv")
TREE = r"(?<![\w./-])((?:src|include|docs|tests|examples|cmake|python|matlab|dotnet|web|bench|abi)/[\w./*-]*[\w*/])"


def missing_program(text):
    return next((p for p in PROGRAMS if re.search(rf"(?<![\w./-]){p}(?![\w.-])", text)
                 and not (bindir / p).exists()), None)


def check_names(where, text):
    for name in set(re.findall(r"\b(?:wfconv|WFCONV)_\w*[A-Za-z0-9]\b", text)):
        if not re.search(rf"\b{name}\b", code):
            failures.append(f"{where}: {name} is nowhere in the code")
    for path in set(re.findall(TREE, text)):  # or a channel file or CSV beside an input that exists
        if not list(source.glob(re.sub(r"(1\.txt|2\.txt|\.csv)$", "", path.rstrip("/")))):
            failures.append(f"{where}: {path} does not exist")


def check_options(where, paragraph):
    # On a line that names wfconv-csv, and in the option list of a paragraph that does.
    page = source / "docs" / "wfconv-csv.1.in"
    if "wfconv-csv" not in paragraph:
        return
    lines = "\n".join(line for line in paragraph.splitlines() if "wfconv-csv" in line or line.startswith("- `-"))
    options = set(re.findall(r"(?<![\w-])(--[a-z][a-z-]*|-o)\b", lines))
    if options and not page.exists():
        return notes.append(f"{where}: wfconv-csv's options not checked, no {page.name} yet")
    for option in options:
        if option.replace("-", r"\-") not in page.read_text():
            failures.append(f"{where}: wfconv-csv has no option {option}")


def run(where, command, input_text=None, python=False):
    shutil.rmtree(scratch, ignore_errors=True)
    for folder in ("examples", "data"):
        (scratch / folder).mkdir(parents=True)
        shutil.copy(source / "examples" / "sine_square.wfm", scratch / folder)
    env = dict(os.environ, PATH=f"{bindir}{os.pathsep}{os.environ['PATH']}", LD_LIBRARY_PATH=str(libdir),
               PYTHONPATH=str(source / "examples" / "ctypes_example"))
    argv = [module_python, "-"] if python else ["sh", "-ec", command]
    done = subprocess.run(argv, input=command if python else None, cwd=scratch, env=env, text=True,
                          capture_output=True, timeout=300)
    if done.returncode != 0:
        failures.append(f"{where}: status {done.returncode}\n{done.stdout}{done.stderr}")
    return done.stdout.replace("\r\n", "\n")


def console(where, block):
    # Each "$ " line in one shell, in turn; the lines under it are what it prints.
    steps = re.findall(r"^\$ (.*)\n((?:(?!\$ ).*\n)*)", block, re.M)
    cut = next((i for i, (command, _) in enumerate(steps) if missing_program(command)), len(steps))
    if cut < len(steps):
        notes.append(f"{where}: run up to `{steps[cut][0]}`, which needs {missing_program(steps[cut][0])}")
    steps = steps[:cut]
    script = "".join(f"{command}\necho '<<step>>'\n" for command, _ in steps)
    printed = run(where, script).split("<<step>>\n")
    for (command, expected), got in zip(steps, printed):
        if got != expected:
            failures.append(f"{where}: `{command}` printed\n{got}instead of\n{expected}")


for page in pages:
    text = page.read_text()
    name = page.relative_to(source)
    for link in re.findall(r"\]\(([^)#:\s]+)(?:#[^)]*)?\)", text):
        if not (page.parent / link).exists():
            failures.append(f"{name}: the link {link} leads nowhere")
    for paragraph in re.split(r"\n\s*\n", re.sub(r"```.*?```", "", text, flags=re.S)):
        check_options(name, paragraph)
    check_names(name, text)
    for match in re.finditer(r"^```(\w*)([^\n]*)\n(.*?)^```", text, re.M | re.S):
        language, marks, block = match.groups()
        where = f"{name}:{text.count(chr(10), 0, match.start()) + 1}"
        needs = missing_program(block) if language != "console" else None
        imports = set(re.findall(r"^import (\w+)", block, re.M)) if language == "python" else set()
        if "wfconv" in imports and subprocess.run([module_python, "-c", "import wfconv"], capture_output=True).returncode:
            needs = "the Python module"
        if "wfconv_ctypes" in imports and not (libdir / "libwfconv.so.1").exists():
            needs = "libwfconv.so.1"
        if language not in ("sh", "console", "python") or "no-run" in marks:
            continue
        if needs:
            notes.append(f"{where}: not run, needs {needs}")
        elif language == "console":
            console(where, block)
        else:
            run(where, block, python=language == "python")

print("\n".join(dict.fromkeys(notes)))
print("\n".join(dict.fromkeys(failures)) or f"{len(pages)} pages: every block that runs here ran, every name checked")
sys.exit(1 if failures else 0)
