# Debian packages of the program (RUNTIME) and of building and testing it (BUILD).
# tzdata: the tz database QTimeZone reads for the zone a town had at a moment.
RUNTIME_PACKAGES=(qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-dejavu-core tzdata)
BUILD_PACKAGES=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev ccache python3
  clang-format lld clang-14)
# Fuzzing the readers (scripts/fuzz.sh, outside CI): clang and its libFuzzer and sanitizer
# runtimes (fuzz/). The tests replay the harnesses' corpora without them.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
