#pragma once

#include <QByteArray>

namespace tockwell::test {

/// An update file that offers a newer version with a download address, a home page and a second
/// link.
inline const QByteArray NewerWithAddress = "[Tockwell]\n"
                                           "version=1.5.0.18\n"
                                           "url=https://www.kestrolab.pl/pobierz/tockwell.tar.gz\n"
                                           "new=Poprawki budzika\n"
                                           "[dane]\n"
                                           "KestrolabHomePage=https://kestrolab.example/\n"
                                           "CV_File=https://kestrolab.example/o-nas\n";

} // namespace tockwell::test
