#!/bin/sh
# Lines of tests against lines of code. Tests: everything under tests/ and the
# tools' own Python tests, less expected outputs, fuzz corpora and the fixture
# files under tests/data (its scripts count). Code: src/ and tools/ less those
# tool tests.
cd "$(dirname "$0")/.." || exit 1
tool_tests=$(find tools -type f \( -name 'test_*.py' -o -name '*_test.py' \))
tests=$(find tests -type f ! -name '*.out' ! -path 'tests/fuzz/corpus*' \
  ! \( -path 'tests/data/*' ! -name '*.sh' ! -name '*.py' \))
code=$(find src tools -type f ! -name 'test_*.py' ! -name '*_test.py')
count() { [ -n "$1" ] && cat $1 | wc -l || echo 0; }
t=$(( $(count "$tests") + $(count "$tool_tests") ))
c=$(count "$code")
echo "test lines: $t"
echo "code lines: $c"
awk -v t="$t" -v c="$c" 'BEGIN { printf "share: %.1f%%\n", 100 * t / c }'
