#pragma once

#include <array>
#include <string>

namespace pokorin {

// The problem and the operating instructions, line by line; the indents are
// ideographic spaces and the empty lines are part of the layout.
inline const std::array<std::string, 14> kHelpLines{
    "",
    "　【問　　題】",
    "　　　　　　　　１個のポコリンが釘に当たって左右に分かれながら落下するとき、ポコリン",
    "　　　　　　　はどこに落下するのでしょうか。",
    "　　　　　　　　ただし、ポコリンが釘に当たって左右に分かれるとき、その分かれ方は左右",
    "　　　　　　　半々であるとします。",
    "　　　　　　　　ポコリンが落下し易い場所はあるのでしょうか。それとも、どこの場所でも同じ",
    "　　　　　　　なのでしょうか。",
    "",
    "",
    "　【操作方法】",
    "　　　　　　　■理論上の数値と実験結果からの数値を比べてみてください。",
    "　　　　　　　　［開始］ボタンをクリックすると、ポコリンの落下が始まります。",
    "　　　　　　　　［停止］ボタンをクリックすると、ポコリンの落下が止まります。",
};

} // namespace pokorin
