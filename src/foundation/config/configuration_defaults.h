// The default contents of the settings blocks (docs/decisions.md, "Configuration").
#pragma once

class Configuration;

namespace cfg {

void SetDefaultBlocks(Configuration& c);

}  // namespace cfg
