#include "html_page.h"

#include <map>
#include <stdexcept>

#include "html_data.h"
#include "json_text.h"
#include "packed.h"
#include "web_assets.h"

namespace zepscene {

namespace {

// Fills every @NAME@ of the page; the values are not searched again, so
// text in them that looks like a place stays as it is.
std::string filled(const std::string& page, const std::map<std::string, std::string>& values) {
    std::string out;
    size_t at = 0;
    while (true) {
        const size_t open = page.find('@', at);
        if (open == std::string::npos) return out + page.substr(at);
        const size_t close = page.find('@', open + 1);
        const auto value = close == std::string::npos ? values.end() : values.find(page.substr(open + 1, close - open - 1));
        if (value == values.end()) {
            out += page.substr(at, open + 1 - at);
            at = open + 1;
            continue;
        }
        out += page.substr(at, open - at) + value->second;
        at = close + 1;
    }
}

std::string versionText() {
    std::string version = web::kThreeVersion;
    while (!version.empty() && (version.back() == '\n' || version.back() == '\r')) version.pop_back();
    return version;
}

}  // namespace

std::string sceneHtml(const Recording& recording) {
    return filled(web::kPage, {{"TITLE", escapeXml(recording.script)},
                               {"STYLE", web::kStyle},
                               {"THREE", base64(web::kThree)},
                               {"THREE_VERSION", versionText()},
                               {"THREE_LICENSE", web::kThreeLicense},
                               {"DATA", sceneDataJson(recording)},
                               {"SCRIPT", web::kViewerScript}});
}

}  // namespace zepscene
