// Renders the SVG masters of the program's icons into the PNG pictures and
// the Windows icon file that the builds embed, so that no build needs an SVG
// renderer at run time.
//   render-icons SVG_DIR OUT_DIR
// Every picture is drawn at twice its logical size (sharp on high-density
// screens), exactly as the program drew the SVG files itself before.

#include <QCoreApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdio>

namespace {

QImage render(const QString &svg, int pixels)
{
    QImage picture(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QPainter painter(&picture);
    renderer.render(&painter);
    painter.end();
    return picture;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An ICO file whose entries are PNG pictures (read by every Windows since Vista).
QByteArray icoFile(const QList<QImage> &images)
{
    QByteArray out;
    auto put16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    auto put32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    QList<QByteArray> pngs;
    for (const QImage &image : images)
        pngs.append(png(image));
    put16(0);
    put16(1);
    put16(quint16(images.size()));
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        out.append(char(size >= 256 ? 0 : size));
        out.append(char(size >= 256 ? 0 : size));
        out.append(char(0));
        out.append(char(0));
        put16(1);
        put16(32);
        put32(quint32(pngs[i].size()));
        put32(offset);
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray &p : pngs)
        out.append(p);
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: render-icons SVG_DIR OUT_DIR\n");
        return 2;
    }
    const QDir in(args[1]);
    const QDir out(args[2]);
    // Each icon at twice the size the program shows it.
    const struct {
        const char *name;
        int pixels;
    } pictures[] = {
        {"logo", 162},
        {"info", 80},
        {"options", 80},
        {"close", 80},
        {"step_new", 48},
        {"step_open", 48},
        {"step_params", 48},
        {"step_variables", 48},
        {"step_certificates", 48},
        {"step_update", 48},
        {"app", 64},
    };
    for (const auto &p : pictures) {
        const QString name = QString::fromLatin1(p.name);
        const QImage image = render(in.filePath(name + QStringLiteral(".svg")), p.pixels);
        if (image.isNull()) {
            std::fprintf(stderr, "render-icons: cannot render %s.svg\n", p.name);
            return 1;
        }
        if (!writeFile(out.filePath(name + QStringLiteral(".png")), png(image)))
            return 1;
    }
    QList<QImage> sizes;
    for (int pixels : {16, 24, 32, 48, 64, 256})
        sizes.append(render(in.filePath(QStringLiteral("app.svg")), pixels));
    return writeFile(out.filePath(QStringLiteral("app.ico")), icoFile(sizes)) ? 0 : 1;
}
