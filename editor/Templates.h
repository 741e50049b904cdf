#pragma once

#include <string_view>

// The texts that Make Website and Write Letter copy into a new document. CR
// is their line break.
inline constexpr std::string_view kWebPageTemplate =
    "<html>\r\r<head>\r<title> New Page 1 </title>\r</head>\r\r<body>\r\r</body>\r\r</html>\r";
inline constexpr std::string_view kLetterTemplate =
    "Dear <Chose Name>,\r\r< Your message goes here.>\r\r\r\r\r\rKing Regards,\r\r<Your name goes here.>";
