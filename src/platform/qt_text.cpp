#include "platform/qt_text.h"

#include <QByteArray>
#include <QFile>

namespace platform {

QString ToQt(std::string_view latin1) {
    QString text = QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromQt(const QString& text) {
    std::string latin1;
    latin1.reserve(static_cast<size_t>(text.size()));
    // By code point, so that a character beyond 16 bits is one '?', not two.
    for (const char32_t c : text.toUcs4())
        latin1.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    return latin1;
}

QString SystemNameToQt(std::string_view name) {
    return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

std::string SystemNameFromQt(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

std::string SystemNameToText(std::string_view name) {
    return FromQt(SystemNameToQt(name));
}

}  // namespace platform
