# What the package tests share: named checks that count, and waits for a state with a deadline.
# Sourced; the script ends with `finish`, whose last line is "N passed, N failed".

checks_passed=0
checks_failed=0

# expect NAME EXPECTED ACTUAL
expect() {
  if [ "$2" == "$3" ]; then
    checks_passed=$((checks_passed + 1))
  else
    checks_failed=$((checks_failed + 1))
    printf 'FAILED %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}

# expect_true NAME COMMAND...: the command succeeds.
expect_true() { local name=$1; shift; if "$@"; then expect "$name" ok ok; else expect "$name" "success of: $*" failure; fi; }

# need_file FILE SCRIPT WHAT: stops the script, one check failed, when FILE is missing.
need_file() { [ -f "$1" ] || { echo "$2: no $3 '$1'"; checks_failed=1; finish; exit 1; }; }

# not COMMAND...: the command fails (a state to wait for).
not() { ! "$@"; }

# wait_for SECONDS COMMAND...: polls the command until it succeeds; false at the deadline.
wait_for() {
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.3
  done
}

# The table form: each line "NAME|EXPECTED|COMMAND", the command's output compared.
expect_table() {
  local name expected command
  while IFS='|' read -r name expected command; do
    [ -n "$name" ] || continue
    expect "$name" "$expected" "$(eval "$command")"
  done
}

finish() {
  echo "$checks_passed passed, $checks_failed failed"
  [ "$checks_failed" -eq 0 ]
}
