// Checks the compiled image collection the way the client uses it: every
// entry decodes with Qt's own readers (QtSvg renders only SVG Tiny, so an
// unsupported construct shows up as a warning or a blank image), the images
// sit at the sizes and positions the pages stack them at, and the flags cover
// the codes the service sends.

#include <QDirIterator>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

QStringList warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& msg)
{
    if (type != QtDebugMsg && type != QtInfoMsg) {
        warnings << msg;
    }
}

QStringList allImages()
{
    QStringList paths;
    for (const char* root : {":/resources", ":/title_button", ":/MainWindow"}) {
        QDirIterator it(QString::fromLatin1(root), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            paths << it.next();
        }
    }
    paths.sort();
    return paths;
}

QImage render(const QString& path)
{
    QImageReader reader(path);
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// The box of pixels that are more than faintly visible.
QRect opaqueBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 24) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// Mean lightness (0 black .. 255 white) of the visible pixels.
int meanLightness(const QImage& image)
{
    qint64 sum = 0;
    qint64 weight = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            sum += qint64(QColor(p).lightness()) * qAlpha(p);
            weight += qAlpha(p);
        }
    }
    return weight == 0 ? -1 : int(sum / weight);
}

} // namespace

class TestImages : public QObject
{
    Q_OBJECT

private slots:
    void everyEntryDecodesWithoutWarnings()
    {
        const QStringList paths = allImages();
        QVERIFY2(paths.size() > 300, qPrintable(QString::number(paths.size())));
        QStringList broken;
        for (const QString& path : paths) {
            warnings.clear();
            const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
            bool ok = !render(path).isNull();
            if (path.endsWith(".svg")) {
                ok = ok && QSvgRenderer(path).isValid();
            }
            qInstallMessageHandler(previous);
            if (!ok || !warnings.isEmpty()) {
                broken << path + " " + warnings.join("; ");
            }
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join("\n")));
    }

    // QtSvg draws SVG Tiny and silently skips the rest (filters, masks, clip
    // paths, CSS style sheets): a drawing edited elsewhere could look right in
    // a browser and wrong in the client. Only what it draws is allowed.
    void svgsUseOnlyWhatQtSvgDraws()
    {
        const QSet<QString> elements{
            "svg",      "g",       "defs",           "path",           "circle", "ellipse", "rect", "line",
            "polyline", "polygon", "linearGradient", "radialGradient", "stop",   "title",   "desc"};
        const QSet<QString> attributes{"filter", "mask", "clip-path", "style", "class"};
        QStringList findings;
        for (const QString& path : allImages()) {
            if (!path.endsWith(".svg")) {
                continue;
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&file);
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement) {
                    continue;
                }
                if (!elements.contains(xml.name().toString())) {
                    findings << path + ": <" + xml.name().toString() + ">";
                }
                for (const QXmlStreamAttribute& attribute : xml.attributes()) {
                    if (attributes.contains(attribute.name().toString())) {
                        findings << path + ": " + attribute.name().toString() + "=";
                    }
                }
            }
            if (xml.hasError()) {
                findings << path + ": " + xml.errorString();
            }
        }
        QVERIFY2(findings.isEmpty(), qPrintable(findings.join("\n")));
    }

    void namedImagesHaveTheirSizes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        const QSize stack(220, 220);
        for (const char* name :
             {"connect-green.svg", "connect-orange.svg", "connect-red.svg", "button.svg", "rotator-green.svg",
              "rotator-orange.png", "shield-green.svg", "shield-grey.svg"}) {
            QTest::newRow(name) << QString(":/resources/%1").arg(name) << stack;
        }
        for (const char* name : {"settings.svg", "account.svg", "back.svg", "exit.svg", "search.svg"}) {
            QTest::newRow(name) << QString(":/resources/%1").arg(name) << QSize(24, 24);
        }
        for (const char* name :
             {"star-full.svg", "star-empty.svg", "star-empty-black.svg", "recommended-black.svg"}) {
            QTest::newRow(name) << QString(":/resources/%1").arg(name) << QSize(21, 20);
        }
        QTest::newRow("down") << ":/resources/down.svg" << QSize(21, 12);
        QTest::newRow("delete") << ":/resources/delete.svg" << QSize(14, 14);
        QTest::newRow("location-blue") << ":/resources/location-blue.svg" << QSize(15, 15);
        QTest::newRow("location-info") << ":/resources/location-info.svg" << QSize(15, 15);
        QTest::newRow("checkbox_on") << ":/resources/checkbox_on.svg" << QSize(18, 18);
        QTest::newRow("checkbox_off") << ":/resources/checkbox_off.svg" << QSize(18, 18);
        QTest::newRow("attention") << ":/resources/attention-sign-in-circles.svg" << QSize(32, 32);
        QTest::newRow("question") << ":/resources/question-sign-in-circles.svg" << QSize(32, 32);
        QTest::newRow("combo closed") << ":/resources/combobox-arrow-close.png" << QSize(12, 8);
        QTest::newRow("combo open") << ":/resources/combobox-arrow-open.png" << QSize(12, 8);
        QTest::newRow("bottom-line") << ":/resources/bottom-line.png" << QSize(2, 50);
        QTest::newRow("logo") << ":/resources/logo.png" << QSize(220, 130);
        QTest::newRow("eye dark") << ":/resources/eye-gray-dark.svg" << QSize(64, 64);
        QTest::newRow("eye light") << ":/resources/eye-gray-light.svg" << QSize(64, 64);
        for (const char* button : {"close", "minimize"}) {
            for (const char* state : {"normal", "hover", "pressed"}) {
                const QString name = QString("%1_%2.png").arg(button, state);
                QTest::newRow(qPrintable(name))
                    << ":/title_button/resources/title_button/" + name << QSize(16, 16);
            }
        }
    }

    void namedImagesHaveTheirSizes()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        QImageReader reader(path);
        QVERIFY2(reader.canRead(), qPrintable(path));
        QCOMPARE(reader.size(), size);
    }

    // The connect page stacks these in one cell: their drawings must share
    // the centre of the canvas or the ring, disc and button slip apart.
    void connectStackSharesOneCentre()
    {
        for (const char* name : {"connect-green.svg", "connect-orange.svg", "connect-red.svg", "button.svg",
                                 "rotator-green.svg", "rotator-orange.png"}) {
            const QRect box = opaqueBox(render(QString(":/resources/%1").arg(name)));
            QVERIFY2(qAbs(box.center().x() - 110) <= 1 && qAbs(box.center().y() - 110) <= 3, name);
            QVERIFY2(qAbs(box.width() - box.height()) <= 4, name); // the disc casts its shadow downwards
        }
        // The shield is taller than wide but centred left to right, and it
        // reaches past the ring so that it shows around it.
        const QRect shield = opaqueBox(render(":/resources/shield-grey.svg"));
        const QRect ring = opaqueBox(render(":/resources/rotator-green.svg"));
        QVERIFY(qAbs(shield.center().x() - 110) <= 1);
        QVERIFY(shield.contains(ring.topLeft()) && shield.top() < ring.top() &&
                shield.bottom() > ring.bottom());
    }

    // Header icons are drawn for their bar: white on the blue bars of the
    // list, account and settings pages, dark on the light connect page.
    void headerIconsContrastWithTheirBar()
    {
        for (const char* name : {"back.svg", "exit.svg", "search.svg"}) {
            QVERIFY2(meanLightness(render(QString(":/resources/%1").arg(name))) > 230, name);
        }
        for (const char* name :
             {"settings.svg", "account.svg", "star-empty-black.svg", "recommended-black.svg"}) {
            QVERIFY2(meanLightness(render(QString(":/resources/%1").arg(name))) < 110, name);
        }
        QVERIFY(meanLightness(render(":/resources/eye-gray-dark.svg")) <
                meanLightness(render(":/resources/eye-gray-light.svg")));
    }

    void flagsAreSquareAndNamedInUpperCase()
    {
        QDirIterator it(":/resources/flags", QDir::Files);
        int count = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            const QString code = it.fileInfo().completeBaseName();
            QVERIFY2(code == code.toUpper() && it.fileInfo().suffix() == "png", qPrintable(path));
            QCOMPARE(QImageReader(path).size(), QSize(24, 24));
            ++count;
        }
        QVERIFY2(count >= 250, qPrintable(QString::number(count)));
        for (const char* code :
             {"DE", "US", "GB", "UK", "NL", "SE", "CH", "JP", "SG", "CA", "AU", "FR", "ES"}) {
            QVERIFY2(QFile::exists(QString(":/resources/flags/%1.png").arg(code)), code);
        }
        // Lookups are by the upper-cased code; the lower-case name is not there.
        QVERIFY(!QFile::exists(":/resources/flags/de.png"));
        // A flag is drawn at its own 4:3-ish shape inside the square, not stretched.
        const QRect flag = opaqueBox(render(":/resources/flags/DE.png"));
        QCOMPARE(flag.width(), 24);
        QVERIFY(flag.height() >= 15 && flag.height() <= 18);
    }

    void trayIconCarriesDesktopSizes()
    {
        QImageReader reader(":/MainWindow/Images/vpnlogo.ico");
        QVERIFY(reader.canRead());
        QList<QSize> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            sizes << reader.read().size();
        }
        for (const QSize& wanted : {QSize(16, 16), QSize(22, 22), QSize(32, 32), QSize(48, 48)}) {
            QVERIFY2(sizes.contains(wanted), qPrintable(QString::number(wanted.width())));
        }
    }
};

QTEST_MAIN(TestImages)
#include "tst_images.moc"
