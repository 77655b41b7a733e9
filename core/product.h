// The project's web address: shown in the about box and in the footer of the HTML report.
// Plain #define so that the resource scripts can use it as well.
#pragma once
#define TITRION_WEB_ADDRESS "https://titrion.example.org/"
