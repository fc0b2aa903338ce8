// The program's entry. Until the main window exists the program loads its data folder and reports
// what it found there.
#include <cstdio>

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  std::printf("velm\n");
  return 0;
}
