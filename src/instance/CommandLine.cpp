#include "instance/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

namespace tovrin::instance {

namespace {

CommandLine Refused(const QString& why)
{
    return {std::nullopt, ("tovrin: " + why + "\nTry 'tovrin --help'.\n").toStdString(), 2};
}

} // namespace

CommandLine ParseCommandLine(int argc, char* argv[], const char* version)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        // Decoded as given: text that is not UTF-8 would otherwise become other words.
        if (!IsValidUtf8(argv[i]))
            return Refused(QStringLiteral("argument %1 is not valid UTF-8 text").arg(i));
        arguments << QString::fromUtf8(argv[i]);
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Looks English words up in online dictionaries, translators and search engines.\n"
        "A program that runs already in this session takes the words and shows its window."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption showVersion = parser.addVersionOption();
    const QCommandLineOption category(
        QStringLiteral("category"),
        QStringLiteral("Choose category N first (1 word lookup, 2 online translation, 3 web "
                       "browsing, 4 search engines, 5 literature search)."),
        QStringLiteral("N"));
    const QCommandLineOption selection(
        QStringLiteral("selection"),
        QStringLiteral("Look up the text selected on the desktop (else the clipboard's)."));
    parser.addOption(category);
    parser.addOption(selection);
    parser.addPositionalArgument(QStringLiteral("words"),
                                 QStringLiteral("Words to look up, as Enter would."),
                                 QStringLiteral("[WORD...]"));
    if (!parser.parse(arguments))
        return Refused(parser.errorText());
    if (parser.isSet(help))
        return {std::nullopt,
                parser.helpText()
                    .replace(QStringLiteral("<executable_name>"), QStringLiteral("tovrin"))
                    .toStdString(),
                0};
    if (parser.isSet(showVersion))
        return {std::nullopt, std::string("tovrin ") + version + "\n", 0};

    Request request;
    request.selection = parser.isSet(selection);
    if (parser.isSet(category)) {
        bool number = false;
        request.category = parser.value(category).toInt(&number);
        if (!number || request.category < 1 || request.category > 5)
            return Refused(QStringLiteral("--category takes a number from 1 to 5"));
    }
    request.words = parser.positionalArguments().join(u' ').toStdString();
    if (request.words.size() > kMaxWordsBytes)
        return Refused(
            QStringLiteral("the words are longer than %1 KiB").arg(kMaxWordsBytes / 1024));
    if (request.selection && !request.words.empty())
        return Refused(QStringLiteral("--selection takes no words"));
    return {request, {}, 0};
}

} // namespace tovrin::instance
