// The files of the HTML page, built into zepscene (see embed_web.cmake).
#pragma once

namespace zepscene::web {

extern const char kPage[];          // the page with @NAME@ places to fill
extern const char kStyle[];         // its stylesheet
extern const char kViewerScript[];  // the viewer, one ES module
extern const char kThree[];         // three.js, the ES module build
extern const char kThreeLicense[];  // three.js's MIT licence
extern const char kThreeVersion[];  // the version vendored, with a line end

}  // namespace zepscene::web
