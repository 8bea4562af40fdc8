// The texts and captions the engine shows the user. They are code page 932 bytes in the
// binary (the sources are compiled with -fexec-charset=CP932).
#pragma once

#include <string_view>

namespace morvel::messages {

inline constexpr std::string_view CAPTION_APP = "MORVEL";

inline constexpr std::string_view EMPTY_NAME = "ファイル名を入れてください。";
inline constexpr std::string_view SOURCE_MISSING = "変換するファイルが存在しません";
inline constexpr std::string_view CAPTION_SOURCE_PATH = "変換ファイルのパス入力エラー";
inline constexpr std::string_view SOURCE_UNOPENABLE = "変換するファイルが開くことができません。";
inline constexpr std::string_view CAPTION_OPEN_ERROR = "オープンエラー";
inline constexpr std::string_view TARGET_FOLDER_MISSING =
    "作成するファイルのディレクトリ(フォルダ)が存在しません";
inline constexpr std::string_view ASK_FIX_EXTENSION =
    "出力先ファイルの拡張子がhtmではありません\n拡張子をhtmにして出力しますよろしいですか？";
inline constexpr std::string_view CAPTION_EXTENSION = "拡張子エラー";
inline constexpr std::string_view SAME_PATH = "パスが同一であるため、処理できません。";
inline constexpr std::string_view CAPTION_SAME_PATH = "同一のパス";
inline constexpr std::string_view RESERVED_CHARS =
    "ファイル名に \\ / : , ; * ? \" < > | の記号は使えません。";
inline constexpr std::string_view CAPTION_NAME = "名前";
// A path holding a character code page 932 has no form for, refused by the window before the
// request starts, under CAPTION_NAME.
inline constexpr std::string_view UNREPRESENTABLE_NAME =
    "ファイル名にシフトJISで表せない文字が含まれています。";
inline constexpr std::string_view ASK_OVERWRITE =
    "このファイルはすでに存在しています。\n上書きしてもよろしいですか？";
inline constexpr std::string_view CAPTION_OVERWRITE = "上書き";
inline constexpr std::string_view TARGET_UNOPENABLE = "作成するファイルが開くことができません。";
inline constexpr std::string_view WRITE_FAILED = "ファイルの書き込みに失敗しました。";
inline constexpr std::string_view READ_FAILED = "ファイルの読み込みに失敗しました。";
// Follows READ_FAILED, a line end and the line's number when UTF-8 text holds a byte sequence
// that UTF-8 does not allow, or UTF-16 text an unpaired surrogate or an odd last byte.
inline constexpr std::string_view INVALID_UTF8_LINE_SUFFIX =
    "行目に UTF-8 として正しくないバイトがあります。";
inline constexpr std::string_view INVALID_UTF16_LINE_SUFFIX =
    "行目に UTF-16 として正しくないバイトがあります。";
inline constexpr std::string_view COPY_FAILED = "画像ファイルをコピーできませんでした。";
inline constexpr std::string_view OUT_OF_MEMORY =
    "メモリが足りないため、ページを作成できませんでした。";

// Appended to the page's path in the completion message.
inline constexpr std::string_view COMPLETED_SUFFIX = "が作成できました。";
inline constexpr std::string_view CAPTION_COMPLETED = "完了";

}  // namespace morvel::messages
