#include "support/translation_file.h"

#include <QFile>
#include <QXmlStreamReader>

namespace cw::test {

QList<TranslationMessage> readTranslationFile(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return {};
    }
    QList<TranslationMessage> messages;
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("TS")) {
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("context")) {
                xml.skipCurrentElement();
                continue;
            }
            QString context;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("name")) {
                    context = xml.readElementText();
                } else if (xml.name() == QLatin1String("message")) {
                    TranslationMessage message;
                    message.context = context;
                    while (xml.readNextStartElement()) {
                        if (xml.name() == QLatin1String("source")) {
                            message.source = xml.readElementText();
                        } else if (xml.name() == QLatin1String("translation")) {
                            message.type = xml.attributes().value(QLatin1String("type")).toString();
                            message.translation = xml.readElementText();
                        } else {
                            xml.skipCurrentElement();
                        }
                    }
                    messages << message;
                } else {
                    xml.skipCurrentElement();
                }
            }
        }
    } else if (!xml.hasError()) {
        xml.raiseError(QStringLiteral("not a Qt Linguist translation file (no <TS>)"));
    }
    if (xml.hasError()) {
        error = QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
        return {};
    }
    return messages;
}

QString englishTranslationFile() { return QStringLiteral(CW_TEST_TS_FILE); }

}  // namespace cw::test
