# The case bookkeeping the end-to-end scripts share (sourced, not run):
#   check ID COMMAND...   a case that holds when the command succeeds
#   fail TEXT...          a case that did not hold
#   report_cases          the summary at the end; exits 1 when a case failed
failures=0
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
check() {
    local id=$1
    shift
    if "$@"; then echo "ok   $id"; else fail "$id"; fi
}
report_cases() {
    if ((failures > 0)); then
        echo "$failures case(s) failed"
        exit 1
    fi
    echo "all cases passed"
}
