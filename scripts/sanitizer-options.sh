# Sanitizer settings, sourced by the scripts that run sanitized code (scripts/fuzz and the
# step "coverage" of scripts/test): any report fails the run, leaks included, except the
# leaks scripts/lsan-suppressions.txt names.
# Usage: . scripts/sanitizer-options.sh
suppressions="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan-suppressions.txt"
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0"
unset suppressions
