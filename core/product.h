// Web addresses the program shows. Plain #defines so that the resource scripts can use them.
#pragma once

// The project's web address: in the about box and in the footer of the HTML report.
#define TITRION_WEB_ADDRESS "https://titrion.example.org/"
// The page the help error box links to: where a PDF reader can be had.
#define PDF_READER_WEB_ADDRESS "https://www.adobe.com/"
