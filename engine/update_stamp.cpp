#include "engine/update_stamp.h"

#include "text/code_page_932_literal.h"

namespace morvel {

namespace {
constexpr std::string_view IDEOGRAPHIC_SPACE = Cp932<u8"　">;
}

std::string FormatUpdateStamp(const LocalTime& time, StampStyle style) {
  const auto number = [](int value) { return std::to_string(value); };
  std::string text;
  if (style == StampStyle::Kanji) {
    text.append(number(time.year)).append(Cp932<u8"年">).append(IDEOGRAPHIC_SPACE);
    text.append(number(time.month))
        .append(Cp932<u8"月">)
        .append(number(time.day))
        .append(Cp932<u8"日">);
    text.append(IDEOGRAPHIC_SPACE).append(number(time.hour)).append(Cp932<u8"時">);
    text.append(number(time.minute)).append(Cp932<u8"分">);
  } else {
    text.append(number(time.year)).append(IDEOGRAPHIC_SPACE);
    text.append(number(time.month)).append("/").append(number(time.day));
    text.append(IDEOGRAPHIC_SPACE).append(number(time.hour)).append(":");
    text.append(number(time.minute));
  }
  return text;
}

std::string UpdateBox(std::string_view stampText) {
  std::string box =
      "<TABLE border=\"1\" align=\"right\">\n<TR><TD>\n<SPAN style=\"font-size:10px\">";
  box.append(Cp932<u8"更新日　">);
  box.append(stampText);
  box.append("</SPAN>\n</TD></TR>\n</TABLE>\n<BR>");
  return box;
}

}  // namespace morvel
