#include "ui/program_images.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <vector>

#include "ui/image_list.h"

namespace ui {

namespace {
// Command ids of the frame's tool-bar buttons.
constexpr unsigned ID_FILE_OPEN = 57601;
constexpr unsigned ID_SAVE = 32782;
constexpr unsigned ID_FILE_PRINT = 57607;
constexpr unsigned ID_VIEW_3DGRAPH = 32962;
constexpr unsigned ID_3DGRAPH_PROPERTIES = 32964;
constexpr unsigned ID_VIEW_CROSS_REFERENCE = 32966;
constexpr unsigned ID_DATA_PRESENT = 32978;
constexpr unsigned ID_APP_ABOUT = 57664;

using Painting = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 40);

void Folder(QPainter& p) {
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 4, 12, 9);
    p.drawRect(2, 2, 4, 2);
    p.setBrush(QColor(255, 230, 140));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
}

void Disk(QPainter& p) {
    p.setPen(QColor(0, 0, 80));
    p.setBrush(QColor(30, 60, 160));
    p.drawRect(2, 1, 12, 13);
    p.fillRect(4, 2, 8, 5, Qt::white);
    p.fillRect(5, 10, 6, 4, QColor(190, 190, 190));
    p.fillRect(8, 11, 2, 2, QColor(30, 60, 160));
}

void Printer(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 4);
    p.fillRect(12, 8, 2, 1, QColor(0, 160, 0));
}

void Bars(QPainter& p) {
    const QColor colours[] = {QColor(200, 40, 40), QColor(40, 150, 40), QColor(40, 80, 200)};
    const int heights[] = {6, 10, 8};
    for (int i = 0; i < 3; ++i) {
        const int x = 2 + i * 4;
        const int top = 13 - heights[i];
        p.setPen(colours[i].darker(150));
        p.setBrush(colours[i]);
        p.drawRect(x, top, 3, heights[i]);
        p.drawLine(x + 1, top - 1, x + 4, top - 1);
        p.drawLine(x + 4, top - 1, x + 4, 12);
    }
    p.setPen(kInk);
    p.drawLine(1, 14, 15, 14);
}

void BarsWithSliders(QPainter& p) {
    Bars(p);
    p.setPen(kInk);
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(9, 1, 6, 5);
    p.drawLine(10, 3, 14, 3);
    p.fillRect(11, 2, 1, 3, QColor(200, 40, 40));
}

void CrossReference(QPainter& p) {
    p.setPen(QColor(120, 120, 120));
    for (int k = 2; k <= 14; k += 4) {
        p.drawLine(1, k, 14, k);
        p.drawLine(k, 1, k, 13);
    }
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(8, 2, 8, 13);
    p.drawLine(2, 8, 14, 8);
}

void Table(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 11);
    p.fillRect(2, 3, 12, 3, QColor(40, 80, 200));
    for (int y = 7; y <= 11; y += 2)
        p.drawLine(3, y, 12, y);
    p.drawLine(6, 5, 6, 12);
}

void About(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 40, 140));
    p.setBrush(QColor(50, 100, 220));
    p.drawEllipse(QRectF(1.5, 0.5, 13, 13));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(7, 3, 2, 2, Qt::white);
    p.fillRect(7, 6, 2, 5, Qt::white);
}

QImage Paint(int width, int height, const Painting& paint) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    return image;
}

QImage CancelDownloadIcon() {
    return Paint(32, 32, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(120, 0, 0), 2));
        p.setBrush(QColor(210, 30, 30));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(11, 11, 21, 21);
        p.drawLine(21, 11, 11, 21);
    });
}

QImage ProgramIconImage() {
    return Paint(32, 32, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(50, 50, 50), 1.5));
        p.setBrush(QColor(90, 90, 100));
        p.drawRoundedRect(QRectF(9, 8, 14, 22), 3, 3);
        p.setBrush(QColor(60, 60, 60));
        p.drawEllipse(QRectF(11, 1, 10, 9));
        p.fillRect(QRectF(12, 13, 8, 6), QColor(120, 220, 120));
        p.setPen(QPen(QColor(20, 80, 20), 1));
        p.drawLine(QPointF(13, 17), QPointF(19, 15));
    });
}
// A sound level meter with its microphone, a serial cable and the PC it reaches.
QImage MeterLinkPicture() {
    return Paint(112, 56, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        // The meter: microphone, body, display and keys.
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(70, 70, 70));
        p.drawEllipse(QRectF(9, 1, 8, 8));
        p.drawRect(QRectF(11.5, 8, 3, 5));
        p.setBrush(QColor(90, 90, 100));
        p.drawRoundedRect(QRectF(4, 13, 18, 40), 3, 3);
        p.setBrush(QColor(150, 220, 150));
        p.drawRect(QRectF(7, 17, 12, 9));
        p.setPen(QPen(QColor(20, 80, 20), 1));
        p.drawLine(QPointF(9, 23), QPointF(17, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 200, 205));
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 2; ++column)
                p.drawRect(QRectF(8 + column * 6, 30 + row * 6, 4, 3));
        // The cable from the meter's foot to the PC's serial connector.
        p.setPen(QPen(QColor(30, 30, 30), 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath cable(QPointF(13, 53));
        cable.cubicTo(QPointF(13, 56), QPointF(40, 56), QPointF(50, 46));
        cable.cubicTo(QPointF(58, 38), QPointF(66, 44), QPointF(72, 44));
        p.drawPath(cable);
        p.setPen(QPen(QColor(40, 40, 40), 1));
        p.setBrush(QColor(170, 170, 175));
        p.drawRect(QRectF(72, 41, 6, 6));
        // The PC: screen on its stand, the box below.
        p.setBrush(QColor(200, 200, 195));
        p.drawRoundedRect(QRectF(78, 4, 32, 26), 2, 2);
        p.setBrush(QColor(40, 80, 200));
        p.drawRect(QRectF(81, 7, 26, 19));
        p.setBrush(QColor(200, 200, 195));
        p.drawRect(QRectF(90, 30, 8, 4));
        p.drawRoundedRect(QRectF(78, 36, 32, 16), 2, 2);
        p.setBrush(QColor(0, 160, 0));
        p.drawRect(QRectF(103, 45, 3, 2));
    });
}
}  // namespace

ToolbarResource MainToolbar() {
    struct Button {
        unsigned id;
        void (*paint)(QPainter&);
    };
    const std::vector<Button> buttons = {
        {ID_FILE_OPEN, Folder},
        {ID_SAVE, Disk},
        {0, nullptr},
        {ID_FILE_PRINT, Printer},
        {0, nullptr},
        {ID_VIEW_3DGRAPH, Bars},
        {ID_3DGRAPH_PROPERTIES, BarsWithSliders},
        {ID_VIEW_CROSS_REFERENCE, CrossReference},
        {ID_DATA_PRESENT, Table},
        {0, nullptr},
        {ID_APP_ABOUT, About},
    };
    ToolbarResource toolbar;
    int images = 0;
    for (const Button& button : buttons) {
        toolbar.buttons.push_back(button.id);
        if (button.id)
            ++images;
    }
    toolbar.bitmap = QImage(images * kMenuImageWidth, kMenuImageHeight, QImage::Format_ARGB32);
    toolbar.bitmap.fill(Qt::transparent);
    QPainter painter(&toolbar.bitmap);
    int x = 0;
    for (const Button& button : buttons) {
        if (!button.id)
            continue;
        painter.save();
        painter.translate(x, 0);
        painter.setClipRect(0, 0, kMenuImageWidth, kMenuImageHeight);
        button.paint(painter);
        painter.restore();
        x += kMenuImageWidth;
    }
    return toolbar;
}

void RegisterProgramImages() {
    RegisterToolbarResource(IDR_MAINFRAME_TOOLBAR, MainToolbar());
}

QIcon ProgramIcon(int id) {
    switch (id) {
        case IDI_CANCEL_DOWNLOAD:
            return QIcon(QPixmap::fromImage(CancelDownloadIcon()));
        case IDR_MAINFRAME:
            return QIcon(QPixmap::fromImage(ProgramIconImage()));
        default:
            return {};
    }
}

QImage ProgramBitmap(int id) {
    return id == IDB_METER_LINK ? MeterLinkPicture() : QImage();
}

}  // namespace ui
