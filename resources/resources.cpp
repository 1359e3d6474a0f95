// The compiled-in resources are attached to this library by qt_add_resources.
