// A tool plug-in library without the host's entry points.
extern "C" int NotTheEntryPoint() { return 0; }
