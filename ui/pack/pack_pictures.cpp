// Build tool: decodes the window's pictures once, at build time, into C++ arrays of pixels, so
// that the program shows them without reading a JPEG or PNG at start (no image plugin, no decoder
// loaded, nothing decoded before the first paint).
//
// Usage: orbida_pack_pictures OUTPUT.cpp NAME=FILE...
// NAME is the name the program asks for (packed_pictures.h); a name with "@2x" before its suffix
// is a picture for a device pixel ratio of 2. A picture with transparency is stored premultiplied,
// the form a pixmap takes it in; one without, as 32-bit RGB, the screen's own form.
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: orbida_pack_pictures OUTPUT.cpp NAME=FILE...\n");
        return 2;
    }
    QString arrays;
    QString table;
    QTextStream a(&arrays);
    QTextStream t(&table);
    for (qsizetype i = 2; i < args.size(); ++i) {
        const qsizetype equals = args[i].indexOf(u'=');
        const QString name = args[i].left(equals);
        const QString file = args[i].mid(equals + 1);
        QImage image(file);
        if (equals <= 0 || image.isNull()) {
            std::fprintf(stderr, "orbida_pack_pictures: cannot read %s\n", qPrintable(args[i]));
            return 1;
        }
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
        const int ratio = name.contains(QLatin1String("@2x.")) ? 2 : 1;
        a << "alignas(16) const unsigned char kPixels" << i << "[] = {";
        const auto* bits = image.constBits();
        for (qsizetype n = 0; n < image.sizeInBytes(); ++n) {
            a << (n % 24 == 0 ? "\n" : "") << bits[n] << ',';
        }
        a << "};\n";
        t << "    {\"" << name << "\", kPixels" << i << ", " << image.width() << ", "
          << image.height() << ", " << image.bytesPerLine() << ", " << image.format() << ", "
          << ratio << "},\n";
    }
    QFile out(args[1]);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "orbida_pack_pictures: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    QTextStream o(&out);
    o << "// Written by orbida_pack_pictures from the pictures in ui/resources; do not edit.\n"
      << "#include \"ui/window/packed_pictures.h\"\n\nnamespace orbida::ui {\nnamespace {\n"
      << arrays << "const PackedPicture kPictures[] = {\n"
      << table << "};\n}  // namespace\n\n"
      << "std::span<const PackedPicture> PackedPictures() {\n    return kPictures;\n}\n\n"
      << "}  // namespace orbida::ui\n";
    return o.status() == QTextStream::Ok && out.flush() ? 0 : 1;
}
