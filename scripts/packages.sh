# Debian packages of the program (RUNTIME) and of building and testing it (BUILD).
RUNTIME_PACKAGES=(qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-dejavu-core)
BUILD_PACKAGES=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev ccache python3)
# The readers' fuzzing harnesses: clang and its libFuzzer and sanitizer runtimes (fuzz/).
BUILD_PACKAGES+=(clang-14 libclang-rt-14-dev)
