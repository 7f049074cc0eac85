#pragma once

#include "bin_counts.h"

#include <array>

namespace pokorin {

// Every text the windows show, in one place, exactly as shown: the web build
// cuts its Japanese face down to the characters found here, and fails when a
// text beyond ASCII turns up anywhere else.

// The main window
inline constexpr char kMainWindowTitle[] = " ポコリンの落下の実験";
inline constexpr char kTitle[] = "ポコリンの落下の実験";
inline constexpr char kStartButton[] = "開始";
inline constexpr char kStopButton[] = "停止";
inline constexpr char kQuitButton[] = "終了";
inline constexpr char kInitialiseButton[] = "初期化";
inline constexpr char kHelpButton[] = "HELP";
inline constexpr char kDropCounterCaption[] = "実験回数";
inline constexpr char kFallSpeedCaption[] = "落下速度";
inline constexpr char kBoardName[] = "ポコリンの落下の実験"; // for screen readers

// The strips under the board. C(10, k - 1) / 1024 for bin k, to three
// decimals: fixed texts, not computed.
inline constexpr char kTheoryHeading[] = "理論上の数学的確率";
inline constexpr std::array<const char *, kBinTotal> kTheoryTexts{
    "0.001", "0.010", "0.044", "0.117", "0.205", "0.246",
    "0.205", "0.117", "0.044", "0.010", "0.001",
};
inline constexpr char kRatioHeading[] = "実験結果からの割合";

// The quit box
inline constexpr char kQuitBoxTitle[] = "ポコリンの落下";
inline constexpr char kQuitQuestion[] = "終了していいですか？";

// The help window: the problem and the operating instructions, line by line;
// the indents are ideographic spaces and the empty lines are part of the layout.
inline constexpr char kHelpWindowTitle[] = " ポコリンの落下の実験＿ヘルプ（設問と操作方法）";
inline constexpr char kCloseButton[] = "閉じる";
inline constexpr char kHelpTextName[] = "設問と操作方法"; // for screen readers
inline constexpr std::array<const char *, 14> kHelpLines{
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

// The teacher's class window, which pools every student device's balls
inline constexpr char kClassWindowTitle[] = " ポコリンの落下の実験＿クラスの実験";
inline constexpr char kClassTitle[] = "クラスの実験";
inline constexpr char kJoinCaption[] = "参加するには、QRコードを読み取るか、このアドレスを開きます";
inline constexpr char kNoPageCaption[] = "生徒用のページがこのコンピューターにありません";
// Full-width spaces between the things a line of the class window names
inline constexpr char kGap[] = "　";
inline constexpr char kWideGap[] = "　　";
inline constexpr char kOtherAddressesCaption[] = "ほかのネットワークからは %1";
inline constexpr char kNobodyJoinedHint[] =
    "２分たっても参加した端末がありません。"
    "よくある原因：ファイアウォール、端末どうしをつながないゲスト用の Wi-Fi";
inline constexpr char kDevicesCaption[] = "つながっている端末 %1台";
inline constexpr char kRelayLost[] = "中継サーバーとつながっていません。つなぎ直しています…";
inline constexpr char kRelayRefused[] = "中継サーバーに断られました。つなぎ直しています…";
inline constexpr char kRefusedCaption[] = "受け取らなかった報告 %1件";
inline constexpr char kBallsCaption[] = "クラス全体のポコリン %1個";
inline constexpr char kExpectationCaption[] = "理論上の期待値";
inline constexpr char kPooledViewButton[] = "クラス全体";
inline constexpr char kDevicesViewButton[] = "端末ごと";
inline constexpr char kJoinViewButton[] = "参加のQRコード";
inline constexpr char kChartViewButton[] = "ずれのグラフ";
inline constexpr char kDeviceCaption[] = "端末%1　%2個";
inline constexpr char kRunsCaption[] = "%1回";
inline constexpr char kRunEnded[] = "終";
inline constexpr char kNoDevicesYet[] = "まだどの端末のポコリンもありません";
inline constexpr char kGridPageCaption[] =
    "%1 / %2 ページ（全%3台）　PageDown・PageUp でめくります";
inline constexpr char kTakeOutQuestion[] =
    "端末%1のポコリン %2個をクラスから除きますか？\nこの端末からは、この後も受け取りません。";
// The landing place counted in steps to the right, beside the bars
inline constexpr char kStepsHeading[] = "右へ進んだ段数";
inline constexpr char kStepsNote[] = "左はしの箱が0段、右はしの箱が10段";
inline constexpr char kStepsExperiment[] = "実験";
inline constexpr char kStepsTheory[] = "理論";
inline constexpr char kStepsMean[] = "平均";
inline constexpr char kStepsVariance[] = "分散";
inline constexpr char kStepsTheoryNote[] = "理論は 平均 np、分散 np(1−p)";
inline constexpr char kStepsVarianceNote[] = "分散は玉の数で割って求めます";
inline constexpr char kNewestMeanCaption[] = "最新の平均 %1段";
inline constexpr char kRunTooltip[] =
    "実験%1　ポコリン %2個\n右へ進んだ段数　平均 %3　分散 %4\n（理論　平均 %5　分散 %6）";
// The chart of the pool's gap to the theory
inline constexpr char kChartTitle[] = "ポコリンが増えるほど、割合は理論上の確率に近づく";
inline constexpr char kChartNowCaption[] = "いま　クラス全体のポコリン %1個　理論とのずれ %2";
inline constexpr char kChartNoPoints[] = "ポコリンが落ちると、ここに点が増えていきます";
inline constexpr char kChartBallsAxis[] = "クラス全体のポコリンの数";
inline constexpr char kChartGapAxis[] = "割合と理論上の確率のずれ（いちばん大きい箱）";
inline constexpr char kChartClassLegend[] = "クラスの実験";
inline constexpr char kChartBandLegend[] = "偶然だけで生じるずれ";
inline constexpr char kChartBandCaption[] =
    "青い帯：公平な板でも偶然だけで生じるずれ。10回のうち9回はこの帯に入ります。目盛りは10倍ずつ";
inline constexpr char kStartAfreshButton[] = "最初から";
inline constexpr char kSaveButton[] = "保存";
inline constexpr char kStartAfreshQuestion[] =
    "クラス全体のポコリンをすべて消して、最初から始めますか？";
inline constexpr char kSaveFileName[] = "クラスの実験.csv";
inline constexpr char kSaveFailed[] = "保存できませんでした：%1";
inline constexpr char kSavePictureButton[] = "画像を保存";
inline constexpr char kPictureFileName[] = "クラスの実験.png";
inline constexpr char kSaveChartButton[] = "グラフの数値を保存";
inline constexpr char kChartFileName[] = "クラスの実験のグラフ.csv";
// The saved table's headings: one row per bin, then one per device's run
inline constexpr char kCsvBinHeadings[] = "ビン,ポコリンの数,理論上の数学的確率,実験結果からの割合";
inline constexpr char kCsvRunHeadings[] = "端末,実験";
inline constexpr char kCsvBin[] = "ビン%1";
// The chart's table: one row per point
inline constexpr char kCsvGapHeadings[] =
    "ポコリンの数,理論とのずれ,偶然で生じるずれの下限,偶然で生じるずれの上限";

} // namespace pokorin
