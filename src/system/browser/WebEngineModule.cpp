#include "system/browser/WebEngineModule.h"

#include "platform/QuilloError.h"
#include "system/browser/WebBrowserEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace {

// The web engine expects to be set up before the application object exists
// and says so at length when it is started later, as Quillo does on purpose.
// While the engine starts, exactly those notes are dropped; every other
// message passes on.
class EngineStartNotes {
public:
    EngineStartNotes() { s_previous = qInstallMessageHandler(&filter); }
    ~EngineStartNotes() { qInstallMessageHandler(s_previous); }
    EngineStartNotes(const EngineStartNotes&) = delete;
    EngineStartNotes& operator=(const EngineStartNotes&) = delete;

private:
    static bool isExpected(const QMessageLogContext& context, const QString& message)
    {
        if (context.category && qstrcmp(context.category, "qt.webenginecontext") == 0)
            return true;
        return message.contains(QLatin1String("Qt WebEngine seems to be initialized from a plugin")) ||
               message.contains(QLatin1String("QtWebEngineQuick::initialize() called with QCoreApplication")) ||
               message.contains(QLatin1String("AA_ShareOpenGLContexts must be set before QCoreApplication"));
    }

    static void filter(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (!isExpected(context, message) && s_previous)
            s_previous(type, context, message);
    }

    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

WebEngineModule::WebEngineModule(QStringList folders) : m_folders(std::move(folders)) {}

QStringList WebEngineModule::defaultFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/../" QUILLO_WEBENGINE_MODULE_LIBDIR))};
}

QString WebEngineModule::fileName()
{
    return QStringLiteral(QUILLO_WEBENGINE_MODULE_FILE);
}

WebBrowserEngineView* WebEngineModule::createView(QWidget* parent)
{
    if (m_started)
        return engine().createView(parent);
    // On Linux the engine shows a screen reader nothing of a page, not even
    // its title, unless asked to; asked, it builds a page's tree only while
    // a screen reader listens.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    EngineStartNotes quiet;
    WebBrowserEngineView* view = engine().createView(parent);
    m_started = true;
    return view;
}

WebBrowserEngine& WebEngineModule::engine()
{
    if (m_engine)
        return *m_engine;

    QString path;
    for (const QString& folder : m_folders) {
        const QFileInfo candidate(QDir(folder), fileName());
        if (candidate.isFile()) {
            path = candidate.absoluteFilePath();
            break;
        }
    }
    if (path.isEmpty())
        throw QuilloError(
            QStringLiteral("Quillo cannot show web pages: its web browser part (%1) is missing.").arg(fileName()));

    QPluginLoader loader(path);
    auto* engine = qobject_cast<WebBrowserEngine*>(loader.instance());
    if (!engine)
        throw QuilloError(
            QStringLiteral("Quillo cannot show web pages: its web browser part could not be loaded.\n\n%1")
                .arg(loader.errorString()));
    // The module stays loaded for the rest of the run.
    m_engine = engine;
    return *m_engine;
}
