// tunemill_make_icons OUTDIR
//
// Draws the toolbar pictures at build time, so the repository carries no binary artwork and the
// icons can be restyled by editing code. Each picture is written as an opaque RGB TIFF plus a
// greyscale mask TIFF in which black is opaque and white is transparent.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cmath>
#include <iostream>
#include <numbers>

namespace {

constexpr int kSize = 32;

using DrawFunction = void (*)(QPainter&);

QLinearGradient verticalGradient(const QColor& top, const QColor& bottom, qreal y0, qreal y1) {
    QLinearGradient gradient(0, y0, 0, y1);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// Every part gets a thin darker rim so the icons stay legible on both light and dark toolbars.
void fillWithRim(QPainter& painter, const QPainterPath& shape, const QBrush& fill,
                 const QColor& rim, qreal rimWidth = 1.0) {
    QPen pen(rim, rimWidth);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawPath(shape);
}

QPainterPath polygonPath(const QPolygonF& polygon) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QPointF onCircle(QPointF centre, qreal radius, qreal degrees) {
    // Qt measures angles counter-clockwise from three o'clock while y grows downwards.
    const qreal radians = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(radians), centre.y() - radius * std::sin(radians)};
}

// A thick arc with an arrowhead at its far end; a negative sweep runs clockwise.
QPainterPath circularArrow(QPointF centre, qreal radius, qreal thickness, qreal startDegrees,
                           qreal sweepDegrees) {
    const qreal half = thickness / 2;
    const QRectF outer(centre.x() - radius - half, centre.y() - radius - half, 2 * (radius + half),
                       2 * (radius + half));
    const QRectF inner(centre.x() - radius + half, centre.y() - radius + half, 2 * (radius - half),
                       2 * (radius - half));

    QPainterPath band;
    band.arcMoveTo(outer, startDegrees);
    band.arcTo(outer, startDegrees, sweepDegrees);
    band.arcTo(inner, startDegrees + sweepDegrees, -sweepDegrees);
    band.closeSubpath();

    const qreal end = startDegrees + sweepDegrees;
    const qreal tipDegrees = sweepDegrees < 0 ? -38.0 : 38.0;
    const qreal barb = half + 2.6;
    const QPolygonF head{onCircle(centre, radius - barb, end), onCircle(centre, radius + barb, end),
                         onCircle(centre, radius, end + tipDegrees)};

    // One outline around band and head, otherwise the rim would cut a seam across the arrow.
    return band.united(polygonPath(head)).simplified();
}

void drawFile(QPainter& painter) {
    const QPainterPath sheet =
        polygonPath({{6.5, 1.5}, {19.5, 1.5}, {26.5, 8.5}, {26.5, 30.5}, {6.5, 30.5}});
    const QPainterPath fold = polygonPath({{19.5, 1.5}, {19.5, 8.5}, {26.5, 8.5}});
    const QColor rim(0x56, 0x65, 0x76);
    fillWithRim(painter, sheet, verticalGradient(Qt::white, QColor(0xe4, 0xea, 0xf1), 1.5, 30.5),
                rim);
    fillWithRim(painter, fold, QColor(0xcc, 0xd5, 0xe0), rim);

    // Two beamed eighth notes: the sheet is an audio file, not just any document.
    QPainterPath note;
    QTransform tilt;
    tilt.rotate(-22);
    for (const QPointF head : {QPointF(11.6, 24.4), QPointF(20.4, 22.4)}) {
        QPainterPath oval;
        oval.addEllipse(QPointF(0, 0), 2.9, 2.1);
        note.addPath(tilt.map(oval).translated(head));
        note.addRect(QRectF(head.x() + 1.5, head.y() - 12.4, 1.3, 12.4));
    }
    note.addPolygon(QPolygonF{{13.1, 10.6}, {22.8, 8.6}, {22.8, 11.6}, {13.1, 13.6}});
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2f, 0x68, 0xcc));
    painter.drawPath(note.simplified());
}

void drawFolder(QPainter& painter) {
    const QColor rim(0x93, 0x62, 0x12);
    const QPainterPath back =
        polygonPath({{2.5, 6.5}, {11.5, 6.5}, {14.5, 9.5}, {28.5, 9.5}, {28.5, 27.5}, {2.5, 27.5}});
    fillWithRim(painter, back,
                verticalGradient(QColor(0xe8, 0xae, 0x37), QColor(0xc2, 0x84, 0x1c), 6.5, 27.5),
                rim);

    // A sheet peeking out of the opened folder.
    const QPainterPath paper = polygonPath({{6.5, 11.5}, {25.5, 11.5}, {25.5, 16}, {6.5, 16}});
    fillWithRim(painter, paper, QColor(0xfb, 0xfb, 0xf8), QColor(0xa9, 0xa2, 0x94));

    const QPainterPath front = polygonPath({{2.5, 27.5}, {6.0, 14.5}, {30.5, 14.5}, {27.0, 27.5}});
    fillWithRim(painter, front,
                verticalGradient(QColor(0xff, 0xdb, 0x73), QColor(0xf0, 0xb0, 0x3a), 14.5, 27.5),
                rim);
}

void drawPlay(QPainter& painter) {
    // Nudged right of centre so the triangle's visual weight, not its box, sits in the middle.
    const QPainterPath triangle = polygonPath({{9.25, 4.5}, {28.0, 16.0}, {9.25, 27.5}});
    fillWithRim(painter, triangle,
                verticalGradient(QColor(0x74, 0xde, 0x7e), QColor(0x2a, 0x98, 0x3c), 4.5, 27.5),
                QColor(0x1b, 0x6e, 0x2a), 1.5);
}

void drawStop(QPainter& painter) {
    QPainterPath square;
    square.addRoundedRect(QRectF(5.5, 5.5, 21, 21), 3, 3);
    fillWithRim(painter, square,
                verticalGradient(QColor(0xf5, 0x7f, 0x71), QColor(0xc8, 0x30, 0x26), 5.5, 26.5),
                QColor(0x8a, 0x1c, 0x15));
}

void drawConvert(QPainter& painter) {
    // Two arrows chasing each other round a circle; orange for the source, blue for the result.
    const QPointF centre(16, 16);
    const QPainterPath upper = circularArrow(centre, 10, 4.2, 165, -125);
    const QPainterPath lower = circularArrow(centre, 10, 4.2, 345, -125);
    fillWithRim(painter, upper,
                verticalGradient(QColor(0xff, 0xb8, 0x4d), QColor(0xe8, 0x7d, 0x1a), 1.5, 18),
                QColor(0x9e, 0x4d, 0x0a));
    fillWithRim(painter, lower,
                verticalGradient(QColor(0x5c, 0xa4, 0xf0), QColor(0x22, 0x66, 0xc4), 14, 30.5),
                QColor(0x15, 0x43, 0x8a));
}

struct IconPair {
    QImage picture;
    QImage mask;
};

// Both files come from one rendering, so the mask cannot drift from the shape. Edge pixels keep
// their own colour rather than a blend with the background, so compositing through the mask
// leaves no light fringe on dark toolbars.
IconPair render(DrawFunction draw) {
    QImage canvas(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    const QImage straight = canvas.convertToFormat(QImage::Format_ARGB32);

    IconPair pair{QImage(kSize, kSize, QImage::Format_RGB32),
                  QImage(kSize, kSize, QImage::Format_Grayscale8)};
    for (int y = 0; y < kSize; ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        auto* picture = reinterpret_cast<QRgb*>(pair.picture.scanLine(y));
        uchar* mask = pair.mask.scanLine(y);
        for (int x = 0; x < kSize; ++x) {
            const int alpha = qAlpha(source[x]);
            picture[x] = alpha == 0 ? qRgb(255, 255, 255)
                                    : qRgb(qRed(source[x]), qGreen(source[x]), qBlue(source[x]));
            mask[x] = static_cast<uchar>(255 - alpha);
        }
    }
    return pair;
}

bool writeTiff(const QImage& image, const QString& path) {
    QImageWriter writer(path, "tiff");
    if (writer.write(image)) {
        return true;
    }
    std::cerr << "tunemill_make_icons: cannot write " << path.toStdString() << ": "
              << writer.errorString().toStdString() << '\n';
    return false;
}

struct Icon {
    const char* name;
    DrawFunction draw;
};

constexpr Icon kIcons[] = {
    {"file", drawFile}, {"folder", drawFolder},   {"play", drawPlay},
    {"stop", drawStop}, {"convert", drawConvert},
};

}  // namespace

int main(int argc, char** argv) {
    // Runs during the build, where there may be no display to connect to.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::cerr << "usage: tunemill_make_icons OUTDIR\n";
        return 1;
    }
    const QDir outDir(QString::fromLocal8Bit(argv[1]));
    if (!outDir.mkpath(QStringLiteral("."))) {
        std::cerr << "tunemill_make_icons: cannot create directory " << argv[1] << '\n';
        return 1;
    }

    for (const Icon& icon : kIcons) {
        const IconPair pair = render(icon.draw);
        const QString name = QString::fromLatin1(icon.name);
        if (!writeTiff(pair.picture, outDir.filePath(name + QStringLiteral(".tiff"))) ||
            !writeTiff(pair.mask, outDir.filePath(name + QStringLiteral("_mask.tiff")))) {
            return 1;
        }
    }
    return 0;
}
