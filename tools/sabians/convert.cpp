// sabian_convert TEXT [VELM_SAB]: reads TEXT, 360 lines of UTF-8, the symbol of each degree from
// 0 Aries on, and writes them as "velm.sab" (code page 1251, each text ended by a NUL byte) to
// VELM_SAB (default "velm.sab" in the current folder). Exit 1 with a message on any fault.
#include <cstdio>
#include <string>

#include "foundation/files/safe_rewrite.h"
#include "views/core/sabians.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: sabian_convert TEXT [VELM_SAB]\n");
    return 1;
  }
  std::string text;
  if (const Status st = ReadWholeFile(argv[1], text); !st.ok()) {
    std::fprintf(stderr, "%s: cannot be read\n", argv[1]);
    return 1;
  }
  std::string file;
  if (const Status st = MakeSabianFile(text, file); !st.ok()) {
    std::fprintf(stderr, "%s: 360 lines of text that code page 1251 can hold are needed (%s)\n",
                 argv[1], st.Where().c_str());
    return 1;
  }
  const char* target = argc == 3 ? argv[2] : "velm.sab";
  if (const Status st = RewriteFile(target, file); !st.ok()) {
    std::fprintf(stderr, "%s: cannot be written\n", target);
    return 1;
  }
  return 0;
}
