#pragma once
// Where the program's texts meet Qt's. Inside the program a text is Latin-1 bytes: its own
// literals, what files and meters hold, what the user types, what the web service is sent and
// answers. Names that belong to the system (paths, program arguments, printer names) are the
// system's bytes instead, as the file system and the printing system hold them.

#include <QString>
#include <string>
#include <string_view>

namespace platform {

// A Latin-1 text for Qt; "\r\n" is one line break there.
QString ToQt(std::string_view latin1);
// Back to Latin-1: a character that Latin-1 lacks becomes '?'.
std::string FromQt(const QString& text);

QString SystemNameToQt(std::string_view name);
std::string SystemNameFromQt(const QString& name);
// A path as a text names it, for a title or a message.
std::string SystemNameToText(std::string_view name);

}  // namespace platform
