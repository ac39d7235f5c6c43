// English for the texts the engine writes itself (the own-text messages 199 and 297, the boxes
// with their own text and their captions). The catalogue's English column covers the numbered
// messages; these texts are matched here by their Japanese pattern, line by line, when the
// interface is English.
#include <cstring>
#include <string>
#include <vector>
#include "core/msg_en.h"

namespace {

struct EnEnt {
    const char* ja;  // Japanese pattern: printf conversions stand for the variable parts
    const char* en;  // English: %1, %2, ... take the parts in their Japanese order
};

const EnEnt EnTbl[] = {
    // Captions of the boxes with their own text.
    {"情報", "Information"},
    {"注意", "Warning"},
    {"エラー", "Error"},
    // Documents.
    {"%s は読み込めない版のシーンファイルです。", "%1 is a scene file of a version this program cannot read."},
    {"%s ファイルが壊れているため読み込めませんでした。", "%1: the file is damaged and could not be read."},
    {"新しい文書を開きます。", "A new document is opened."},
    {"変換できない文字を含む名前があったため、読める文字に置き換えました。",
     "Some names held characters that could not be converted; they were replaced by readable ones."},
    {"%s に保存できませんでした。", "%1 could not be saved."},
    {"元のファイルは変更されていません。", "The original file has not been changed."},
    {"シフトJISにない文字を含む名前は、その文字を「?」にして保存しました。",
     "Characters of names that are not in Shift JIS were saved as \"?\"."},
    {"%s: 3DS ファイルには対応していません。", "%1: 3DS files are not supported."},
    {"%s: DFA ファイルには対応していません。", "%1: DFA files are not supported."},
    {"ファイル形式がPixaluneのシーンフォーマットではありません。", "The file is not in the Pixalune scene format."},
    {"このファイルはすでに存在します。", "This file already exists."},
    {"上書きしますか？", "Do you want to replace it?"},
    {"%s への変更を保存しますか？", "Save the changes to %1?"},
    {"%s から読み込んだ内容はまだ保存されていません。", "What was read from %1 has not been saved yet."},
    {"シーン %s として保存しますか？", "Save it as the scene %1?"},
    {"地形が作成されていません。", "No terrain has been made."},
    {"地形の格子が小さすぎます。", "The terrain grid is too small."},
    // DXF and STL reading.
    {"ほかに %d 件の問題がありました。", "There were %1 more problems."},
    {"codeが読めない:line %d", "unreadable group code: line %1"},
    {"数値が読めない:line %d", "unreadable number: line %1"},
    {"数値が大きすぎる:line %d", "number too large: line %1"},
    {"codeが0でない:line %d", "group code is not 0: line %1"},
    {"nameがSECTIONでない:line %d", "name is not SECTION: line %1"},
    {"codeが2でない:line %d", "group code is not 2: line %1"},
    {"name[%s]がサポートされてない:line %d", "name [%1] is not supported: line %2"},
    {"DXF読み込み: 曲線 %d 本 (点 %d)", "DXF read: %1 curves (%2 points)"},
    {"シーンデータ出力中", "Writing the scene data"},
    {"シーンデータ出力終了", "Scene data written"},
    {"シーンデータ入力中", "Reading the scene data"},
    {"シーンデータ入力終了", "Scene data read"},
    {"文字 %d 個", "%1 texts"},
    {"読み飛ばした図形 %d 個 (3Dでないポリライン %d)", "%1 entities skipped (%2 of them 2D polylines)"},
    {"単位 %s (図面の $INSUNITS)", "unit %1 (the drawing's $INSUNITS)"},
    {"原点 %s %s m", "origin %1 %2 m"},
    {"%s: 図面の大きさは %s x %s です (単位 %s で読み込み)。", "%1: the drawing measures %2 x %3 (read in %4)."},
    {"単位 %s で読み込み直しますか？", "Read it again in %1?"},
    {"STL読み込み: ソリッド %d 個, 面 %d 個", "STL read: %1 solids, %2 facets"},
    {"読み飛ばした面 %d 個", "%1 facets skipped"},
    // Map images and tracing.
    {"この形式の画像は読み込めません。", "Images of this kind cannot be read."},
    {"画像を読み込めません。", "The image cannot be read."},
    {"ファイルの読み込み中にエラーが発生しました。", "An error occurred while reading the file."},
    {"表示倍率が大きすぎます。", "The zoom is too large."},
    {"小さい倍率を選んでください。", "Choose a smaller zoom."},
    {"解像度 (dpi) と縮尺には正の値を入れてください。", "Enter positive values for the resolution (dpi) and the scale."},
    {"画像が読み込まれていません。", "No image has been loaded."},
    {"画像の大きさが異常です (%d x %d)。", "The image size is invalid (%1 x %2)."},
    {"画像が大きすぎます (%d x %d)。", "The image is too large (%1 x %2)."},
    {"ファイル名がありません。", "No file name was given."},
    {"ファイルが空です。", "The file is empty."},
    {"JPEG, TIFF, BMP のいずれでもありません。", "The file is neither JPEG, TIFF nor BMP."},
    {"BMP: ヘッダーが途中で切れています。", "BMP: the header is cut short."},
    {"BMP: 情報ヘッダーの大きさ %u は読み込めません。", "BMP: an information header of size %1 cannot be read."},
    {"BMP: %d ビットのビットフィールドは読み込めません。", "BMP: bit fields of %1 bits cannot be read."},
    {"BMP: 圧縮 (RLE) された画像は読み込めません。", "BMP: compressed (RLE) images cannot be read."},
    {"BMP: 圧縮形式 %u は読み込めません。", "BMP: compression %1 cannot be read."},
    {"BMP: %d ビットの画像は読み込めません。", "BMP: images of %1 bits cannot be read."},
    {"BMP: カラーテーブルが途中で切れています。", "BMP: the colour table is cut short."},
    {"BMP: 画素データがありません。", "BMP: there are no pixel data."},
    {"BMP: 画素データが途中で切れています (%d / %d 行)。", "BMP: the pixel data are cut short (%1 of %2 rows)."},
    {"JPEG: %d 色成分の画像は読み込めません。", "JPEG: images of %1 colour components cannot be read."},
    {"JPEG: 色空間が不明です。", "JPEG: the colour space is unknown."},
    {"TIFF: 画像の大きさがありません。", "TIFF: the image has no size."},
    // Curves and terrain.
    {"カーブを選択してください。", "Select a curve."},
    {"カーブの高さが異なります", "The curves have different heights."},
    {"カーブ[%s] 高さ %s m", "Curve [%1] height %2 m"},
    {"カーブ[%s] 高さ %s mm", "Curve [%1] height %2 mm"},
    {"地形の領域が設定されていません。", "No terrain region has been set."},
    {"等高線がありません。", "There are no contours."},
    {"サーフェースの頂点が多すぎます", "The surface has too many vertices"},
    // Views.
    {"回転の中心がﾀｰｹﾞｯﾄに\nなっています。\nこれ以上視点をﾀｰｹﾞｯﾄに\n近づけることはできません。",
     "The centre of rotation is the target.\nThe eye cannot come any closer to it."},
    {"このカメラでは使用できません。", "Not available with this camera."},
    {"平行投影にしてください。", "Switch to parallel projection first."},
    {"三次元形状が存在しません。", "There is no 3D shape."},
};

// The document's title before its first save: data in the engine, shown as English here.
const char* const UntitledJa = "無題";

// Splits a pattern into its literal pieces (one more than the conversions).
std::vector<std::string> Pieces(const char* pat) {
    std::vector<std::string> p(1);
    for (const char* c = pat; *c; ++c) {
        if (*c == '%' && c[1]) {
            const char* e = c + 1;
            while (*e && !std::strchr("sdufg", *e)) ++e;
            if (*e) {
                p.emplace_back();
                c = e;
                continue;
            }
        }
        p.back() += *c;
    }
    return p;
}

// True when line is the pattern with some parts in place of its conversions (each non-empty,
// within one line).
bool Match(const std::string& line, const char* pat, std::vector<std::string>* args) {
    const std::vector<std::string> pc = Pieces(pat);
    args->clear();
    if (line.compare(0, pc[0].size(), pc[0]) != 0) return false;
    size_t at = pc[0].size();
    for (size_t i = 1; i < pc.size(); ++i) {
        size_t next;
        if (i + 1 == pc.size()) {
            if (line.size() < at + pc[i].size() + 1) return false;
            next = line.size() - pc[i].size();
            if (line.compare(next, std::string::npos, pc[i]) != 0) return false;
        } else {
            next = pc[i].empty() ? std::string::npos : line.find(pc[i], at + 1);
            if (next == std::string::npos) return false;
        }
        if (next <= at) return false;
        // A variable part is one line's: a text of several lines is matched line by line.
        if (line.find('\n', at) < next) return false;
        args->push_back(line.substr(at, next - at));
        at = next + pc[i].size();
    }
    return at == line.size();
}

std::string Fill(const char* en, const std::vector<std::string>& args) {
    std::string out;
    for (const char* c = en; *c; ++c) {
        if (*c == '%' && c[1] >= '1' && c[1] <= '9' && size_t(c[1] - '1') < args.size()) {
            const std::string& a = args[c[1] - '1'];
            out += a == UntitledJa ? "Untitled" : a;
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

// The English of one text, or false when the table does not know it.
bool Known(const std::string& t, std::string* en) {
    std::vector<std::string> args;
    for (const EnEnt& e : EnTbl)
        if (Match(t, e.ja, &args)) {
            *en = Fill(e.en, args);
            return true;
        }
    return false;
}

}  // namespace

std::string MsgEn(const char* ja) {
    const std::string t = ja ? ja : "";
    std::string en;
    if (Known(t, &en)) return en;
    // Texts built of several lines (a file name, a reason, a note) are matched line by line; a
    // line the table does not know (a path, a system's reason) stays as it is.
    std::string out;
    size_t b = 0;
    for (;;) {
        const size_t e = t.find('\n', b);
        const std::string line = t.substr(b, e == std::string::npos ? std::string::npos : e - b);
        out += Known(line, &en) ? en : line;
        if (e == std::string::npos) break;
        out += '\n';
        b = e + 1;
    }
    return out;
}
