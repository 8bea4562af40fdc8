// The texts and captions the engine shows the user, as code page 932 bytes.
#pragma once

#include <string_view>

#include "text/code_page_932_literal.h"

namespace morvel::messages {

inline constexpr std::string_view CAPTION_APP = "MORVEL";

inline constexpr std::string_view EMPTY_NAME = Cp932<u8"ファイル名を入れてください。">;
inline constexpr std::string_view SOURCE_MISSING = Cp932<u8"変換するファイルが存在しません">;
inline constexpr std::string_view CAPTION_SOURCE_PATH = Cp932<u8"変換ファイルのパス入力エラー">;
inline constexpr std::string_view SOURCE_UNOPENABLE =
    Cp932<u8"変換するファイルが開くことができません。">;
inline constexpr std::string_view CAPTION_OPEN_ERROR = Cp932<u8"オープンエラー">;
inline constexpr std::string_view TARGET_FOLDER_MISSING =
    Cp932<u8"作成するファイルのディレクトリ(フォルダ)が存在しません">;
inline constexpr std::string_view ASK_FIX_EXTENSION = Cp932<
    u8"出力先ファイルの拡張子がhtmではありません\n拡張子をhtmにして出力しますよろしいですか？">;
inline constexpr std::string_view CAPTION_EXTENSION = Cp932<u8"拡張子エラー">;
inline constexpr std::string_view SAME_PATH = Cp932<u8"パスが同一であるため、処理できません。">;
inline constexpr std::string_view CAPTION_SAME_PATH = Cp932<u8"同一のパス">;
inline constexpr std::string_view RESERVED_CHARS =
    Cp932<u8"ファイル名に \\ / : , ; * ? \" < > | の記号は使えません。">;
inline constexpr std::string_view CAPTION_NAME = Cp932<u8"名前">;
// A path holding a character code page 932 has no form for, refused by the window before the
// request starts, under CAPTION_NAME.
inline constexpr std::string_view UNREPRESENTABLE_NAME =
    Cp932<u8"ファイル名にシフトJISで表せない文字が含まれています。">;
inline constexpr std::string_view ASK_OVERWRITE =
    Cp932<u8"このファイルはすでに存在しています。\n上書きしてもよろしいですか？">;
inline constexpr std::string_view CAPTION_OVERWRITE = Cp932<u8"上書き">;
inline constexpr std::string_view TARGET_UNOPENABLE =
    Cp932<u8"作成するファイルが開くことができません。">;
inline constexpr std::string_view WRITE_FAILED = Cp932<u8"ファイルの書き込みに失敗しました。">;
inline constexpr std::string_view READ_FAILED = Cp932<u8"ファイルの読み込みに失敗しました。">;
// Follows READ_FAILED, a line end and the line's number when UTF-8 text holds a byte sequence
// that UTF-8 does not allow, or UTF-16 text an unpaired surrogate or an odd last byte.
inline constexpr std::string_view INVALID_UTF8_LINE_SUFFIX =
    Cp932<u8"行目に UTF-8 として正しくないバイトがあります。">;
inline constexpr std::string_view INVALID_UTF16_LINE_SUFFIX =
    Cp932<u8"行目に UTF-16 として正しくないバイトがあります。">;
inline constexpr std::string_view COPY_FAILED = Cp932<u8"画像ファイルをコピーできませんでした。">;
inline constexpr std::string_view OUT_OF_MEMORY =
    Cp932<u8"メモリが足りないため、ページを作成できませんでした。">;

// Appended to the page's path in the completion message.
inline constexpr std::string_view COMPLETED_SUFFIX = Cp932<u8"が作成できました。">;
inline constexpr std::string_view CAPTION_COMPLETED = Cp932<u8"完了">;

}  // namespace morvel::messages
