// The web address the program shows. Plain #defines so that the resource scripts can use them.
#pragma once

// The page the help error box links to: where a PDF reader can be had.
#define PDF_READER_WEB_ADDRESS "https://www.adobe.com/"
