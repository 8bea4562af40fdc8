// window_picture OUTPUT.bmp: starts MORVEL.exe (the one beside this program), waits until its
// main window has been drawn, and writes a picture of that window, frame included, as a
// 24-bit BMP. tools/screenshot.sh runs it under Wine and turns the picture into a PNG.
//
// The picture is only written when it shows MORVEL's window: the window must carry MORVEL's
// title and no other window (such as a crash dialog of one of Wine's helper programs) may lie
// over it, before and after the picture is taken. Otherwise it says why and ends with exit
// code 1, and no file is written.
#include <cstdio>
#include <string>
#include <vector>

#include "morvel_version.h"
#include "ui/tests/window_driver.h"

namespace morvel::e2e {
namespace {

constexpr char MORVEL_TITLE[] = "MORVEL ver " MORVEL_VERSION;

// Why the window cannot be photographed now; empty when it can.
std::string WhatIsWrong(HWND window) {
  const std::string title = TextOf(window);
  if (title != MORVEL_TITLE) return "the window's title is \"" + title + "\", not MORVEL's";
  RECT frame;
  GetWindowRect(window, &frame);
  // Points across the whole window, its edges included, must each belong to it.
  for (int row = 0; row <= 8; ++row) {
    for (int column = 0; column <= 8; ++column) {
      const POINT point = {frame.left + (frame.right - frame.left - 1) * column / 8,
                           frame.top + (frame.bottom - frame.top - 1) * row / 8};
      const HWND top = GetAncestor(WindowFromPoint(point), GA_ROOT);
      if (top != window) {
        return "the window \"" + (top ? TextOf(top) : std::string()) + "\" (" +
               (top ? ClassOf(top) : std::string("none")) + ") lies over MORVEL's window";
      }
    }
  }
  return "";
}

// The screen's pixels under `frame`, as a BMP file's bytes.
std::string Photograph(const RECT& frame) {
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom row first
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                          DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  const DWORD rowBytes = (width * 3 + 3) & ~3;
  const DWORD pixelBytes = rowBytes * height;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + pixelBytes;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  bytes.append(static_cast<const char*>(bits), pixelBytes);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bytes;
}

bool WriteWholeFile(const char* path, const std::string& bytes) {
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  if (!ok) DeleteFileA(path);
  return ok;
}

int Run(const char* output) {
  // Screen coordinates in pixels, whatever the display's scale.
  SetProcessDPIAware();
  RunningApp app;
  const std::string folder = FolderOfThisProgram();
  if (!app.Launch(folder + "MORVEL.exe", folder)) {
    std::fprintf(stderr, "window_picture: cannot start %sMORVEL.exe\n", folder.c_str());
    return 1;
  }
  const HWND window = WaitForWindow(app, "MORVEL");
  if (!window) {
    std::fprintf(stderr, "window_picture: MORVEL's window did not appear\n");
    return 1;
  }
  // Drawn: the program has reached its message loop, and Wine has had time to draw the
  // frame, which it does from another process.
  WaitForInputIdle(app.Handle(), 5000);
  Sleep(1500);
  std::string problem = WhatIsWrong(window);
  std::string picture;
  if (problem.empty()) {
    RECT frame;
    GetWindowRect(window, &frame);
    picture = Photograph(frame);
    problem = WhatIsWrong(window);  // nothing came over the window meanwhile
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  app.WaitForExit(5000);
  if (!problem.empty()) {
    std::fprintf(stderr, "window_picture: %s\n", problem.c_str());
    return 1;
  }
  if (!WriteWholeFile(output, picture)) {
    std::fprintf(stderr, "window_picture: cannot write %s\n", output);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace morvel::e2e

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_picture OUTPUT.bmp\n");
    return 2;
  }
  return morvel::e2e::Run(argv[1]);
}
