// The project's web page, named in the report's footer and in the about boxes.
#pragma once

constexpr char TITRION_WEB_ADDRESS[] = "https://titrion.example.org/";
