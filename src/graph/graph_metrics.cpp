#include "graph/graph_metrics.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QString>

#include "platform/qt_text.h"

namespace graph {

namespace {

constexpr int kFallbackPixelsPerInch = 96;

int ScreenPixelsPerInch(bool across) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return kFallbackPixelsPerInch;
    const double dpi = across ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi >= 1 ? static_cast<int>(dpi) : kFallbackPixelsPerInch;
}

class QtMetrics : public GraphMetrics {
public:
    int PixelsPerInchX() const override { return ScreenPixelsPerInch(true); }
    int PixelsPerInchY() const override { return ScreenPixelsPerInch(false); }
    int TextWidth(std::string_view text, int fontHeight) const override {
        return QFontMetrics(RulerFont(fontHeight)).horizontalAdvance(platform::ToQt(text));
    }
    int TextHeight(int fontHeight) const override {
        return QFontMetrics(RulerFont(fontHeight)).height();
    }
};

}  // namespace

QFont RulerFont(int fontHeight) {
    QFont font;
    font.setStyleHint(QFont::Serif);
    font.setFamily(QStringLiteral("serif"));
    font.setPixelSize(fontHeight > 0 ? fontHeight : 1);
    return font;
}

const GraphMetrics& ScreenMetrics() {
    static const QtMetrics metrics;
    return metrics;
}

}  // namespace graph
