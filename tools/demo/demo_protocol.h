// Shared between the demo browsers and the tools that drive the demo.
#pragma once

// Window class of each demo browser window, so a driver can find and close them.
#define DEMO_WINDOW_CLASS "VeskarDemoBrowser"
