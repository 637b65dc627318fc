#include "base/reference_path.h"

namespace zep {

bool linearReference = false;

}  // namespace zep
