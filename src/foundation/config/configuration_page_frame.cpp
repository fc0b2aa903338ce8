#include "foundation/config/configuration.h"
#include "foundation/drawing/page_frame.h"

void Configuration::DrawPageFrame(platform::Dc& dc, const std::array<int, 4>& offsets) const {
  const std::array<int, 4> margins{print.marginLeft, print.marginTop, print.marginRight,
                                   print.marginBottom};
  ::DrawPageFrame(dc, margins, offsets, print.pageFrame != 0);
}
