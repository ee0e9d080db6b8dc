#!/usr/bin/env python3
"""Both manual pages of kamorin-cli say what the program does.

usage: check_manuals.py KAMORIN_CLI MAN_DIR plain|sanitized

For the English page and the Japanese one, each in its own language:
- the options the page describes, those of its synopsis and those --help
  names are one set;
- the exit statuses the page lists, and those --help lists, are those the
  program gives: each by a command that gives it, run here;
- every option the page describes is run here, and does what its case says;
- the words the page quotes for a save and the Markdown table's columns are
  those the program writes.
A sanitized build cannot start under the address-space limit that makes
threads fail (status 71), so that one case is left to the plain build.
"""

import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import uuid

cli, man_dir, build = sys.argv[1], sys.argv[2], sys.argv[3]
failures = []

LANGUAGES = {
    "en": {
        "page": os.path.join(man_dir, "kamorin-cli.1"),
        "env": {"LANGUAGE": "en", "LC_ALL": "en_US.UTF-8"},
        "synopsis": "SYNOPSIS",
        "statuses": "EXIT STATUS",
        "options": ("OPTIONS", "RESULTS STORE"),
    },
    "ja": {
        "page": os.path.join(man_dir, "ja", "kamorin-cli.1"),
        "env": {"LC_ALL": "C.UTF-8"},
        "synopsis": "書式",
        "statuses": "終了ステータス",
        "options": ("オプション", "結果の保存先"),
    },
}

OPTION = re.compile(r"(?<![\w-])--[a-z][a-z-]*[a-z]|(?<![\w-])-h\b")


def fail(message):
    failures.append(message)


def text_of_roff(line):
    return line.replace("\\-", "-").replace('\\(dq', '"')


def sections(page):
    """The page's lines by section name."""
    parts, name = {}, None
    for line in page.splitlines():
        if line.startswith(".SH "):
            name = line[4:].strip().strip('"')
            parts[name] = []
        elif name:
            parts[name].append(line)
    return parts


def described_options(lines):
    """Options that head a .TP paragraph."""
    found = set()
    for before, line in zip(lines, lines[1:]):
        if before.strip() == ".TP" and line.startswith("."):
            found.update(OPTION.findall(text_of_roff(line)))
    return found


def listed_statuses(lines):
    return {int(line[3:]) for before, line in zip(lines, lines[1:])
            if before.strip() == ".TP" and re.fullmatch(r"\.B \d+", line.strip())}


def environment(language, store):
    env = {k: v for k, v in os.environ.items()
           if k not in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG")}
    env.update(LANGUAGES[language]["env"])
    env.update({"KAMORIN_STORE": store, "QT_QPA_PLATFORM": "offscreen", "TERM": "dumb"})
    return env


def wait_until_computing(pid):
    """Until the process has spent a fifth of a second of processor time,
    which it does only in its runs, after it has set up its signals."""
    ticks = os.sysconf("SC_CLK_TCK")
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        if int(fields[11]) >= ticks // 5:
            return
        time.sleep(0.02)


def run(args, env, stdout=subprocess.PIPE, signal_after=None, limit=None):
    command = [cli] + args
    if limit:
        command = ["bash", "-c", f'ulimit -v {limit}; exec "$0" "$@"'] + command
    process = subprocess.Popen(command, env=env, stdout=stdout, stderr=subprocess.PIPE,
                               stdin=subprocess.DEVNULL)
    if signal_after:
        wait_until_computing(process.pid)
        process.send_signal(signal_after)
    out, err = process.communicate(timeout=120)
    return process.returncode, (out or b"").decode(), err.decode()


work = tempfile.mkdtemp(prefix="kamorin-manuals-")
store = os.path.join(work, "results.sqlite")
quick = ["--count", "1", "--unit", "回", "--no-progress"]


def prepare_store():
    """Two results of five runs each, labelled fast and slow, one twice the other."""
    env = environment("ja", store)
    status, _, err = run(quick + ["--save", "--label", "seed"], env)
    if status != 0:
        sys.exit(f"cannot save a result: {err}")
    status, exported, err = run(["--export", "-", "--label", "seed"], env)
    seed = json.loads(exported)["results"][0]
    made = []
    for label, scale in (("fast", 1), ("slow", 2)):
        result = json.loads(json.dumps(seed))
        result["id"], result["label"] = str(uuid.uuid4()), label
        result["runs"] = [{"seconds": scale * (1 + k / 100),
                           "ns_per_pass": scale * (1 + k / 100) * 1e9 / seed["settings"]["passes"],
                           **{k2: v for k2, v in seed["runs"][0].items()
                              if k2 not in ("seconds", "ns_per_pass")}}
                          for k in range(5)]
        made.append(result)
    with open(os.path.join(work, "made.json"), "w", encoding="utf-8") as f:
        json.dump({**json.loads(exported), "results": made}, f)
    status, _, err = run(["--import", os.path.join(work, "made.json")], env)
    if status != 0:
        sys.exit(f"cannot import the results made: {err}")


prepare_store()
with open(os.path.join(work, "not-json.json"), "w") as f:
    f.write("not JSON\n")
with open(os.path.join(work, "not-a-store.sqlite"), "w") as f:
    f.write("a text file\n")
missing = os.path.join(work, "missing", "results.sqlite")
report = os.path.join(work, "page.html")

# status, arguments, and how it is run: every status a page lists.
STATUS_CASES = [
    (0, quick, {}),
    (1, ["--compare", "fast", "slow", "--fail-if-slower", "10"], {}),
    (2, ["--count", "abc", "--no-progress"], {}),
    (64, ["--no-such-option"], {}),
    (65, ["--import", os.path.join(work, "not-json.json")], {}),
    (66, ["--history", "--store", missing], {}),
    (71, quick + ["--threads", "64", "--force-threads"], {"limit": 100000}),
    (73, ["--history", "--store", os.path.join(work, "not-a-store.sqlite")], {}),
    (74, quick, {"stdout": "/dev/full"}),
    (130, ["--count", "1000", "--unit", "億回", "--no-progress"], {"signal": signal.SIGINT}),
    (143, ["--count", "1000", "--unit", "億回", "--no-progress"], {"signal": signal.SIGTERM}),
]

# Every option a page describes, at work, and the status it gives.
OPTION_CASES = [(0, args) for args in [
    quick + ["--speed", "0", "--machine", "Pentium 75", "--runs", "2", "--warmup", "1",
             "--min-time", "0.5"],
    quick + ["--threads", "1", "--force-threads", "--cpu", str(min(os.sched_getaffinity(0)))],
    quick + ["--rank", "--json"],
    quick + ["--csv"],
    quick + ["--markdown", "--save", "--label", "manual", "--store", store],
    quick + ["--report", report],
    ["--history", "--label", "fast", "--machine-model", "", "--machine", "Pentium 75"],
    ["--compare", "fast", "slow", "--fail-if-slower", "1000", "--json"],
    ["--export", os.path.join(work, "out.json"), "--label", "fast"],
    ["--import", os.path.join(work, "made.json"), "--skip-bad"],
    ["--list-machines"],
    ["-h"],
    ["--help"],
    ["--version"],
]] + [(66, ["--forget", "00000000-0000-0000-0000-000000000000"])]

statuses_run = set()
for status, args, how in STATUS_CASES:
    if status == 71 and build == "sanitized":
        statuses_run.add(status)
        continue
    env = environment("ja", store)
    stdout = open(how["stdout"], "w") if "stdout" in how else subprocess.PIPE
    got, _, err = run(args, env, stdout, how.get("signal"), how.get("limit"))
    statuses_run.add(status)
    if got != status:
        fail(f"{' '.join(args)}: status {got}, where the pages say {status}: {err.strip()}")

options_run = set()
for expected, args in OPTION_CASES:
    options_run.update(a.split("=")[0] for a in args if a.startswith("-") and a != "-")
    got, _, err = run(args, environment("ja", store))
    if got != expected:
        fail(f"{' '.join(args)}: status {got}, expected {expected}: {err.strip()}")
for _, args, _ in STATUS_CASES:
    options_run.update(a for a in args if a.startswith("--"))

for language, facts in LANGUAGES.items():
    with open(facts["page"], encoding="utf-8") as f:
        page = f.read()
    parts = sections(page)
    name = f"{language} page"
    _, help_text, _ = run(["--help"], environment(language, store))
    helped = set(OPTION.findall(help_text))
    described = set()
    for section in facts["options"]:
        described |= described_options(parts[section])
    synopsis = set(OPTION.findall(text_of_roff("\n".join(parts[facts["synopsis"]]))))
    for what, options in (("describes", described), ("has in its synopsis", synopsis)):
        if options != helped:
            fail(f"{name} {what} {sorted(options - helped)} beyond --help, "
                 f"and lacks {sorted(helped - options)}")
    if described - options_run:
        fail(f"{name}: no case here runs {sorted(described - options_run)}")

    statuses = listed_statuses(parts[facts["statuses"]])
    if statuses != statuses_run:
        fail(f"{name} lists the statuses {sorted(statuses)}, the program gives {sorted(statuses_run)}")
    exit_line = help_text[help_text.rfind("\n\n"):]
    helped_statuses = {int(n) for n in re.findall(r"(?<![\w.-])(\d{1,3})(?= )", exit_line)}
    if helped_statuses != statuses_run:
        fail(f"--help in {language} lists the statuses {sorted(helped_statuses)}")

    env = environment(language, os.path.join(work, f"saved-{language}.sqlite"))
    _, markdown, saved = run(quick + ["--markdown", "--save"], env)
    quoted = [text_of_roff(m) for m in re.findall(r'^\.BI "(kamorin\\-cli: [^"]*)"', page, re.M)]
    if not any(q in saved for q in quoted):
        fail(f"{name} quotes the save as {quoted}; the program says {saved.strip()!r}")
    header = markdown.splitlines()[0]
    columns = re.search(r"table of two columns\n\(([^;)]*)|2 列 \(([^)]*)\)", page)
    words = re.split(r", |、", next(c for c in columns.groups() if c))
    if header != "| " + " | ".join(words) + " |":
        fail(f"{name} names the Markdown columns {words}; the program writes {header!r}")

shutil.rmtree(work)
for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
