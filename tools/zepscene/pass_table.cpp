#include "pass_table.h"

#include <algorithm>
#include <string>
#include <vector>

#include "format.h"

namespace zepscene {

namespace {

using Row = std::vector<std::string>;

// Left-aligned columns, two spaces apart, each as wide as its widest cell.
void printColumns(std::ostream& out, const std::string& indent, const std::vector<Row>& rows) {
    std::vector<size_t> widths;
    for (const Row& row : rows)
        for (size_t i = 0; i < row.size(); ++i) {
            widths.resize(std::max(widths.size(), row.size()));
            widths[i] = std::max(widths[i], row[i].size());
        }
    for (const Row& row : rows) {
        std::string line = indent;
        for (size_t i = 0; i < row.size(); ++i)
            line += i + 1 < row.size() ? row[i] + std::string(widths[i] - row[i].size() + 2, ' ') : row[i];
        out << line << '\n';
    }
}

std::string heading(const PassRecord& pass) {
    if (pass.frame == 0) return "pass (line " + std::to_string(pass.line) + ")";
    return "frame " + std::to_string(pass.frame) + " of " + std::to_string(pass.frameCount) + " (line " +
           std::to_string(pass.line) + ")";
}

std::string contactCount(size_t count) {
    if (count == 0) return "no contacts";
    return std::to_string(count) + (count == 1 ? " contact" : " contacts");
}

void printContacts(std::ostream& out, const MoverFrame& mover) {
    if (mover.contacts.empty()) return;
    std::vector<Row> rows{{"#", "object", "triangle", "point", "normal"}};
    for (size_t i = 0; i < mover.contacts.size(); ++i) {
        const ContactRow& c = mover.contacts[i];
        rows.push_back({std::to_string(i + 1), std::to_string(c.object), std::to_string(c.triangle),
                        formatVec(c.point), formatVec(c.normal)});
    }
    printColumns(out, "      ", rows);
}

}  // namespace

void printPass(std::ostream& out, const PassRecord& pass) {
    out << heading(pass) << '\n';
    if (pass.movers.empty()) out << "  no active movers\n";
    for (const MoverFrame& mover : pass.movers) {
        Row columns{"mover " + std::to_string(mover.object), "at " + formatVec(mover.reached),
                                         "wanted " + formatVec(mover.wanted), contactCount(mover.contacts.size())};
        if (mover.ground >= 0) columns.push_back(groundName(mover.ground));
        printColumns(out, "  ", {columns});
        printContacts(out, mover);
    }
}

}  // namespace zepscene
