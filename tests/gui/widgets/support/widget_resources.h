#pragma once

// The program's resource file (images of the widgets) is registered as each test program starts,
// when the build has made it. Tells whether it was.
bool WidgetResourcesRegistered();
