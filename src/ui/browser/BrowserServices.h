#pragma once

class FailureReporter;
class WebBrowserControlFactory;
class WindowList;

// What a browser window needs of the rest of the program. The program fills
// it with the real services; tests fill it with fakes.
struct BrowserServices {
    // Makes the embedded browser control of each window.
    WebBrowserControlFactory* controls = nullptr;
    // The loaded windows, which each browser window joins when it loads.
    WindowList* windows = nullptr;
    // Reports the failures of handlers without handling of their own.
    FailureReporter* failures = nullptr;
};
