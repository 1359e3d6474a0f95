#pragma once

class AppServices;
class frmMain;

// The start-up procedure.
namespace Module1 {

// The one cheque-entry window, created by Main and alive for the whole run.
extern frmMain* MainWindow;

// Shows the splash window, creates and loads the cheque-entry window while the
// splash is on the screen, takes the splash down and shows the main window.
void Main(AppServices& services);

} // namespace Module1
