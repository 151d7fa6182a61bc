#!/bin/sh
# expect-refusal.sh TOOL OPTION FILE EXPECTED: the tool must fail on FILE and
# report FILE:EXPECTED (a "line: message" tail) on its error output.
tool=$1 option=$2 file=$3 expected=$4
output=$("$tool" "$option" "$file" 2>&1) && { echo "accepted $file"; exit 1; }
case "$output" in
*"$file:$expected"*) exit 0 ;;
*) printf 'expected "%s:%s", got:\n%s\n' "$file" "$expected" "$output"; exit 1 ;;
esac
