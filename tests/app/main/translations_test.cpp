// The translation sources against the program's texts (lupdate over the sources finds nothing
// new, stale or unfinished), and the built translations against what the code relies on: the
// style classes and the title it looks up through tr(), and the pieces it joins to messages.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    bool finished = true;
};

QString tsFile(const QString& language) {
    return QString(TS_DIR "/kestrel_%1.ts").arg(language);
}

QList<Message> readTs(const QString& path) {
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.append({context, {}, {}, true});
        } else if (xml.name() == QLatin1String("source") && !messages.isEmpty()) {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && !messages.isEmpty()) {
            const QString type = xml.attributes().value("type").toString();
            messages.last().finished = type.isEmpty();
            messages.last().translation = xml.readElementText();
        }
    }
    return messages;
}

QSet<QString> keysOf(const QList<Message>& messages) {
    QSet<QString> keys;
    for (const Message& m : messages)
        keys.insert(m.context + " / " + m.source);
    return keys;
}

QString listed(const QString& what, QStringList items) {
    items.sort();
    return what + ": " + items.mid(0, 12).join(" | ") + (items.size() > 12 ? " ..." : "");
}

// The values the style sheet selects on: texts the code looks up through tr("btn1") and alike.
QSet<QString> styleClasses() {
    QFile file(STYLE_SHEET);
    QSet<QString> classes;
    if (!file.open(QIODevice::ReadOnly)) return classes;
    static const QRegularExpression selector(QStringLiteral("qstyle=\"([^\"]+)\""));
    auto it = selector.globalMatch(QString::fromUtf8(file.readAll()));
    while (it.hasNext())
        classes.insert(it.next().captured(1));
    return classes;
}

QStringList matches(const QString& text, const QRegularExpression& pattern) {
    QStringList found;
    auto it = pattern.globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured());
    found.sort();
    return found;
}

// What the code relies on when it joins a translation with other pieces or hands it to Qt.
QString piecesOf(const QString& text) {
    static const QRegularExpression leading(QStringLiteral("^\\s*"));
    static const QRegularExpression trailing(QStringLiteral("\\s*$"));
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    static const QRegularExpression filePattern(QStringLiteral("\\(\\*\\.[^)]*\\)"));
    return QStringList{leading.match(text).captured(), trailing.match(text).captured(),
                       QString::number(text.count('\n')), matches(text, placeholder).join(','),
                       matches(text, filePattern).join(',')}
        .join('|');
}

bool hasHan(const QString& text) {
    for (const QChar c : text)
        if (c.script() == QChar::Script_Han) return true;
    return false;
}

}  // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void sourcesMatchTheProgram();
    void builtTranslations_data();
    void builtTranslations();
};

// A text added to the program, changed or left untranslated shows up here, in either language.
void TranslationsTest::sourcesMatchTheProgram() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList copies;
    for (const QString language : {"en", "zh"}) {
        copies << dir.filePath(QFileInfo(tsFile(language)).fileName());
        QVERIFY(QFile::copy(tsFile(language), copies.last()));
    }
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(LUPDATE, QStringList{"-no-obsolete", "-locations", "none", APP_SOURCE_DIR, "-ts"}
                               << copies);
    QVERIFY2(lupdate.waitForFinished(120000), "lupdate did not finish");
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAll().constData());

    for (int i = 0; i < copies.size(); ++i) {
        const QList<Message> committed = readTs(tsFile(i == 0 ? "en" : "zh"));
        const QList<Message> regenerated = readTs(copies[i]);
        QVERIFY(committed.size() > 100);
        const QSet<QString> before = keysOf(committed);
        const QSet<QString> after = keysOf(regenerated);
        QVERIFY2(after - before == QSet<QString>(),
                 qPrintable(listed("missing from " + copies[i], (after - before).values())));
        QVERIFY2(before - after == QSet<QString>(),
                 qPrintable(listed("no longer in the program", (before - after).values())));
        QStringList unfinished;
        for (const Message& m : regenerated)
            if (!m.finished || m.translation.isEmpty()) unfinished << m.context + " / " + m.source;
        QVERIFY2(unfinished.isEmpty(), qPrintable(listed("unfinished", unfinished)));
    }
}

void TranslationsTest::builtTranslations_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("zh") << "zh";
}

void TranslationsTest::builtTranslations() {
    QFETCH(QString, language);
    QTranslator translator;
    QVERIFY(translator.load(QString(QM_DIR "/kestrel_%1.qm").arg(language)));
    const QSet<QString> styles = styleClasses();
    QVERIFY(styles.contains("btn1") && styles.contains("btn_word"));
    const QRegularExpression words(QStringLiteral("[A-Za-z]{2,}"));
    int styleLookups = 0;
    for (const Message& m : readTs(tsFile(language))) {
        const QString where = m.context + " / " + m.source;
        const QString text =
            translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData());
        QVERIFY2(!text.isEmpty(), qPrintable("not built: " + where));
        if (styles.contains(m.source)) {
            ++styleLookups;
            QVERIFY2(text == m.source, qPrintable(where + " -> " + text));
        } else if (m.context == "MainWindow" && m.source == "header_title") {
            QVERIFY2(language == "en" ? text == "Facekeeper" : hasHan(text), qPrintable(text));
        } else if (language == "en") {
            QCOMPARE(text, m.source);
        } else if (m.source.contains(words) && m.source != "IP") {
            QVERIFY2(hasHan(text), qPrintable("not Chinese: " + where + " -> " + text));
        }
        QVERIFY2(piecesOf(text) == piecesOf(m.source),
                 qPrintable(where + " -> " + text + ": " + piecesOf(text)));
    }
    QVERIFY(styleLookups >= 10);
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "translations_test.moc"
