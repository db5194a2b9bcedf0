// How to reach the program's maker: the values shown in the About box and
// handed to the Shell. Plain macros, so the resource script shares them.
// The main dialog's link opens the same web page.
#pragma once

#define MAKER_WEB_PAGE      "http://www.example.org/tolvane/"
#define MAKER_MAIL_FIRST    "support@example.com"
#define MAKER_MAIL_SECOND   "service@example.net"
#define MAKER_CHAT_HOST     "chat.example.net"
#define MAKER_CHAT_FIRST    "10000001"
#define MAKER_CHAT_SECOND   "10000002"
