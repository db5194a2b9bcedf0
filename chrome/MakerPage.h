// The maker's web page, opened from the main dialog's link and from the About box.
#pragma once

constexpr char kMakerPageUrl[] = "http://www.tolvane.example/";
