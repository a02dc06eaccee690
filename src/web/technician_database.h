#pragma once
// The technician and laboratory database (local copy "msvcrt80.dll"), one line per technician
// and laboratory:
//     lab1;lab2;lab3;lab4;lab5;lab6;name;code;serial+serial+...
// where the tail lists the reference instruments the technician may use. A technician working
// for several laboratories has several lines.
//
// The technician record kept by the application joins the tails of the technician's lines,
// each followed by "&" (only the chosen line is kept once a laboratory is chosen).

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace web {

struct TechnicianEntry {
    std::array<std::string, 6> lab;
    std::string name;
    std::string code;
    std::string references;  // the tail: serial numbers joined by "+"
};

// nullopt for a line with fewer than eight fields.
std::optional<TechnicianEntry> ParseTechnicianLine(const std::string& line);

// The lines of `code`, in file order; nullopt when the file cannot be opened. An empty code
// is nobody's.
std::optional<std::vector<TechnicianEntry>> FindTechnicianEntries(const std::string& path,
                                                                  const std::string& code);

// Whether the technician record lets its technician use the reference instrument `serial`.
bool TechnicianMayUse(const std::string& record, const std::string& serial);

}  // namespace web
