#include "commands.h"

namespace zepbench {

const Commands& linkedCommands() {
    static const Commands linked = [] {
        Commands table;
#define ZEPBENCH_LINK(name) table.name = &::name;
        ZEPBENCH_COMMANDS(ZEPBENCH_LINK)
        ZEPBENCH_LATER_COMMANDS(ZEPBENCH_LINK)
#undef ZEPBENCH_LINK
        return table;
    }();
    return linked;
}

}  // namespace zepbench
