#include "app/AppServices.h"

#include "platform/qt/QtPrintSurface.h"

AppServices::AppServices() = default;

MainWindowServices AppServices::mainWindowServices()
{
    MainWindowServices services;
    services.facts = &m_facts;
    services.messages = &m_messages;
    services.failures = &m_failures;
    services.openPrinter = [] { return std::unique_ptr<PrintSurface>(QtPrintSurface::forDefaultPrinter()); };
    return services;
}
