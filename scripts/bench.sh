#!/usr/bin/env bash
# Size and speed of Setup.exe, as one table:
#
#   bash scripts/bench.sh [RUNS]        (default 5 runs of each timing)
#
# Builds what it needs (the 64-bit edition with its test fixtures and the
# bench programs of tools/bench/, the 32-bit Setup.exe and library), lays out
# media under build/bench/ and measures, under the Wine of the win64 build
# folder's test prefix:
#
#   sizes         Setup.exe (64- and 32-bit) and IntallerRes.dll as the
#                 medium carries them;
#   overhead      an unattended install whose plan runs 50 no-op packages
#                 (fakepkg copies that exit at once), against bench_loop
#                 starting and waiting for the same 50 command lines with
#                 CreateProcess (and installing the plan's one Windows
#                 Installer package the same way through msi.dll);
#   first page    from process start until the welcome page is visible,
#                 against one_dialog showing one dialog from its template;
#   stall         the longest round trip of WM_NULL, sent every 5 ms, to the
#                 copy-progress page while packages that take a second each
#                 run, against the same probe on an idle dialog;
#   working set   Setup.exe's peak during that interactive installation (as
#                 the probe reads it when the copy-progress page closes) and
#                 during the unattended install;
#   verification  the signed medium's check (a PLAN=1 run on a medium signed
#                 with the demo key, with a 512 MiB file added) in MB/s, as
#                 its log line reports it, against sha256sum on the same files.
#
# Every timing is taken RUNS times in one go, alternating with its baseline,
# and shown as minimum and median; ratios are of the medians. Absolute times
# on a shared machine mean little: the ratios are what to compare.
# Everything the runs install on the prefix's machine is removed again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
runs=${1:-5}
[[ "$runs" =~ ^[0-9]+$ && "$runs" -ge 1 ]] || { echo "usage: scripts/bench.sh [RUNS]" >&2; exit 2; }

build="$root/build/win64"
build32="$root/build/win32"
work="$root/build/bench"
prefix="$build/wineprefix"

scripts/install-deps.sh >/dev/null
echo "bench: building the 64-bit and 32-bit editions" >&2
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Setup IntallerRes fakepkg fixture_msis wine-launch uidriver \
    probe bench_loop one_dialog >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Setup IntallerRes >/dev/null

rm -rf "$work"
mkdir -p "$work"
# The harness is stopped at the end only when this run started it.
started_harness=0
if [[ ! -f "$build/wine/xvfb.pid" ]] || ! kill -0 "$(cat "$build/wine/xvfb.pid")" 2>/dev/null; then
    started_harness=1
fi
tools/wine/harness.sh start "$build" >/dev/null
tools/wine/machine-state.sh "$build"

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
wine_run() { tools/wine/run.sh "$build" "$@" 2>/dev/null | tr -d '\r'; }
probe() { wine_run "$build/bin/probe.exe" "$@"; }
drive() { wine_run "$build/bin/uidriver.exe" "$@"; }
field() { sed -n "s/.*\\b$1=\\([0-9.]*\\).*/\\1/p" <<<"$2"; }

fixture_code='{0D6A3F21-7C4B-4E8A-9B15-2F6E8C1D4A07}'
target_name="Korvanix Bench"
target_win="C:\\$target_name"
clean_machine() {
    rm -rf "$prefix/drive_c/$target_name" "$prefix/drive_c/Program Files/Common Files/Tallowick" \
        "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvanix2024" \
        "$prefix/drive_c/users/Public/Desktop/Korvanix2024.lnk"
    find "$prefix/drive_c/users" -maxdepth 5 -type d -name 'KorvUninstall-*' -path '*/Temp/*' \
        -exec rm -rf {} + 2>/dev/null || true
    wine_run reg delete 'HKLM\SOFTWARE\Wow6432Node\Tallowick' /f >/dev/null || true
    wine_run reg delete 'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Korvanix2024_en_us' \
        /f >/dev/null || true
    wine_run msiexec /x "$fixture_code" /qn >/dev/null || true
}
clean_machine
# The harness keeps the prefix's desktop in use (tools/desktop-pin) for the
# whole run, as a Windows machine has its desktop all along: no program of
# the run pays for starting it.
finish() {
    clean_machine
    if ((started_harness)); then tools/wine/harness.sh stop "$build" >/dev/null; fi
}
trap finish EXIT

results="$work/results.txt"
: >"$results"
note() { echo "$*" >>"$results"; }  # note KEY VALUE

# --- sizes -----------------------------------------------------------------
tools/medium/make-medium.sh "$work/demo" "$build" >/dev/null
note size64 "$(stat -c %s "$work/demo/Setup.exe")"
note size32 "$(stat -c %s "$build32/bin/Setup.exe")"
note sizeres "$(stat -c %s "$work/demo/IntallerRes.dll")"

# --- engine overhead: 50 no-op packages, unattended ----------------------
# The plan of an unattended 64-bit install runs 10 programs of its own
# (runtime, product packages, help, encryption, collaboration installer,
# configurator) and the optional packages that are ticked: 40 of those make
# 50. Its one installer package (the XML parser) cannot be left out.
noop="$work/noop"
tools/medium/make-medium.sh "$noop" "$build" >/dev/null
python3 - "$noop/Setup.ini" "$noop/files" "$build/bin/fixtures/fakepkg.exe" <<'EOF'
import re, shutil, sys
ini, files, fakepkg = sys.argv[1:]
text = open(ini, newline="").read()
# Drop the template's optional packages and name 40 no-op programs instead.
text = re.sub(r"\[packnum\]\r\n(.*?\r\n)*?(?=\[)", "", text)
text = re.sub(r"\[sub\d+\]\r\n(.*?\r\n)*?(?=\[|\Z)", "", text)
sections = ["[packnum]", "count=8"]
for s in range(8):
    items = [f"noop{s * 5 + i + 1:02d}.exe" for i in range(5)]
    for item in items:
        shutil.copy(fakepkg, f"{files}/{item}")
    sections += [f"[sub{s + 1}]", f"name=No-op {s + 1}", "description=Five programs that exit at once.",
                 "package=" + ";".join(items), "check=1", "enable=1", "showFlag=1"]
open(ini, "w", newline="").write(text + "\r\n".join(sections) + "\r\n")
EOF
setup_noop="$(winpath "$noop/Setup.exe")"
unattended_words=(quiet=1 "TARGETDIR=\"$target_win\"")
export KORV_JOURNAL
KORV_JOURNAL="$(winpath "$work/noop-journal.txt")"

# A first run, not timed, warms the caches and gives the command lines of
# the programs the plan starts, in order, for the baseline.
run_setup_unattended() {
    mkdir -p "$prefix/drive_c/$target_name"
    probe run "$setup_noop" "${unattended_words[@]}"
}
rm -f "$work/noop-journal.txt"
out=$(run_setup_unattended)
[[ "$(field exit "$out")" == 0 ]] || { echo "bench: the unattended install failed: $out" >&2; exit 1; }
programs=$(tr -d '\r' <"$work/noop-journal.txt" | wc -l)
[[ "$programs" == 50 ]] || { echo "bench: the plan ran $programs programs, not 50" >&2; exit 1; }
clean_machine
{
    printf 'msi\t%s\tREBOOT=ReallySuppress\r\n' "$(winpath "$noop/Msi/msxml6_x64.msi")"
    tr -d '\r' <"$work/noop-journal.txt" | cut -f2- | sed 's/^/run\t/; s/$/\r/'
} >"$work/noop-list.txt"
msi_only="$work/msi-list.txt"
head -1 "$work/noop-list.txt" >"$msi_only"
loop_list="$(winpath "$work/noop-list.txt")"
wine_run "$build/bin/bench_loop.exe" "$loop_list" >/dev/null
clean_machine

for _ in $(seq "$runs"); do
    out=$(run_setup_unattended)
    note overhead "$(field ms "$out")"
    note ws_unattended "$(field peak_kib "$out")"
    clean_machine
    out=$(probe run "$build/bin/bench_loop.exe" "$loop_list")
    note overhead_base "$(field ms "$out")"
    clean_machine
    out=$(probe run "$build/bin/bench_loop.exe" "$(winpath "$msi_only")")
    note msi_step "$(field ms "$out")"
    clean_machine
done
unset KORV_JOURNAL

# --- time to the first page --------------------------------------------
setup_demo="$(winpath "$work/demo/Setup.exe")"
for _ in $(seq "$runs"); do
    out=$(probe first-window 1023 "$setup_demo")
    note first_page "$(field ms "$out")"
    out=$(probe first-window 1001 "$build/bin/one_dialog.exe")
    note first_page_base "$(field ms "$out")"
done

# --- responsiveness of the copy-progress page -----------------------------
# The demo medium with packages that take a second each.
slow="$work/slow"
tools/medium/make-medium.sh "$slow" "$build" >/dev/null
printf '%s\r\n' '[default]' 'sleep_ms=1000' >"$slow/Msi/fakepkg.ini"
printf '%s\r\n' '[default]' 'sleep_ms=1000' >>"$slow/files/fakepkg.ini"
export KORV_JOURNAL
KORV_JOURNAL="$(winpath "$work/slow-journal.txt")"
for _ in $(seq "$runs"); do
    wine_run "$build/bin/wine-launch.exe" "$(winpath "$slow/Setup.exe")" >"$work/interactive.out" &
    launcher=$!
    drive wait 1023 --timeout 60 >/dev/null
    drive type 1023 "$target_win" >/dev/null
    drive click 1037 >/dev/null
    probe ping 2102 --timeout 30 --period-ms 5 >"$work/ping.out" &
    pinger=$!
    drive click 1018 >/dev/null
    wait "$pinger" || true
    out=$(cat "$work/ping.out")
    note stall "$(field max_ms "$out")"
    note ws_interactive "$(field peak_kib "$out")"
    drive wait 1014 --timeout 120 >/dev/null
    drive click 1001 --with 1014 >/dev/null
    drive wait 2280 --timeout 30 >/dev/null
    drive click 1001 --with 2280 >/dev/null
    wait "$launcher" || true
    clean_machine
    wine_run "$build/bin/wine-launch.exe" "$build/bin/one_dialog.exe" >/dev/null &
    launcher=$!
    out=$(probe ping 1001 --timeout 30 --for-ms 3000 --period-ms 5)
    note stall_base "$(field max_ms "$out")"
    drive click 1 --with 1001 >/dev/null
    wait "$launcher" || true
done
unset KORV_JOURNAL

# --- verification throughput -----------------------------------------------
signed="$work/signed"
tools/medium/make-medium.sh "$signed" "$build" --replace >/dev/null
head -c 512M /dev/urandom >"$signed/files/filler.bin"
python3 tools/medium/sign-medium.py "$signed" --key keys/demo-medium-signing.pem >/dev/null
for _ in $(seq "$runs"); do
    out=$(wine_run "$build/bin/wine-launch.exe" "$(winpath "$signed/Setup.exe")" PLAN=1 quiet=1 SUPPRESSMSGBOXES=1)
    read -r bytes ms < <(sed -n 's/.*medium: verified, bytes hashed, ms: \([0-9]*\) \([0-9]*\).*/\1 \2/p' <<<"$out")
    note verify_mbps "$(python3 -c "print($bytes / max($ms, 1) / 1000)")"
    start=$(date +%s%N)
    (cd "$signed" && find . -type f ! -name 'Setup.manifest*' -print0 | xargs -0 sha256sum >/dev/null)
    note sha256sum_mbps "$(python3 -c "print($bytes / max(($(date +%s%N) - $start) / 1e6, 1) / 1000)")"
done
rm -f "$signed/files/filler.bin"

# --- the table -------------------------------------------------------------
wine_version=$(wine --version 2>/dev/null || echo unknown)
cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
python3 - "$results" "$runs" "$wine_version" "$cpu" "$(nproc)" <<'EOF'
import statistics, sys
path, runs, wine, cpu, cores = sys.argv[1:]
values = {}
for line in open(path):
    key, _, value = line.strip().partition(" ")
    if value:
        values.setdefault(key, []).append(float(value))

def mm(key):
    v = values.get(key, [])
    return (min(v), statistics.median(v)) if v else (float("nan"), float("nan"))

def kib(n):
    return f"{n / 1024:.1f} KiB ({int(n)} bytes)"

rows = []
rows.append(("Setup.exe, 64-bit, on the medium", kib(values["size64"][0]), "", "", "<= 500 KiB"))
rows.append(("Setup.exe, 32-bit", kib(values["size32"][0]), "", "", "reported"))
rows.append(("IntallerRes.dll", kib(values["sizeres"][0]), "", "", "lossless minimum"))

def timing(label, key, base, unit, goal, fmt="{:.0f}"):
    lo, med = mm(key)
    blo, bmed = mm(base)
    ratio = med / bmed if bmed else float("nan")
    rows.append((label, f"{fmt.format(lo)} / {fmt.format(med)} {unit}",
                 f"{fmt.format(blo)} / {fmt.format(bmed)} {unit}", f"{ratio:.2f}", goal))
    return lo, med, blo, bmed

timing("engine overhead: unattended install, 50 no-op packages", "overhead", "overhead_base", "ms",
       "ratio <= 1.05")
# The same with the Windows Installer package's own time taken out of both.
o = values.get("overhead", []); b = values.get("overhead_base", []); m = values.get("msi_step", [])
if o and b and m:
    mo, mb, mm_ = statistics.median(o), statistics.median(b), statistics.median(m)
    rows.append(("  the same less the installer package's time (median " + f"{mm_:.0f} ms)",
                 f"{mo - mm_:.0f} ms", f"{mb - mm_:.0f} ms", f"{(mo - mm_) / (mb - mm_):.2f}", ""))
    rows.append(("  engine's own time per package", f"{(mo - mb) / 50:.1f} ms", "", "", ""))
timing("time to the first page (welcome page visible)", "first_page", "first_page_base", "ms",
       "ratio <= 1.5")
timing("UI stall: longest answer of the copy-progress page", "stall", "stall_base", "ms", "<= 50 ms", "{:.1f}")
timing("medium verification throughput (SHA-256)", "verify_mbps", "sha256sum_mbps", "MB/s", "ratio >= 0.8",
       "{:.0f}")
lo, med = mm("ws_interactive")
rows.append(("peak working set, interactive install", f"{lo / 1024:.1f} / {med / 1024:.1f} MiB", "", "", "reported"))
lo, med = mm("ws_unattended")
rows.append(("peak working set, unattended install", f"{lo / 1024:.1f} / {med / 1024:.1f} MiB", "", "", "reported"))

header = ("figure", "min / median", "baseline min / median", "ratio", "goal")
widths = [max(len(r[i]) for r in rows + [header]) for i in range(5)]
def line(r):
    return "| " + " | ".join(c.ljust(w) for c, w in zip(r, widths)) + " |"
print(f"Korvanix Setup bench: {runs} runs of each timing; {wine}; {cpu}, {cores} cores")
print(line(header))
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print(line(r))
print("baselines: bench_loop (CreateProcess and wait, same command lines, same installer package),")
print("one_dialog (one dialog from a resource template), the probe's round trip to an idle dialog;")
print("ratios are of the medians")
EOF
