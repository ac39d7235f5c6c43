// GIS import and export commands: the file dialogs, the layer and height-field dialog, and the
// remembered GIS directory.
#include "giscmd.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <vector>
#include "core/alc.h"
#include "core/mode.h"
#include "core/msg.h"
#include "dlgrun.h"
#include "doccmd.h"
#include "engcall.h"
#include "doc/doc.h"
#include "display/drw.h"
#include "gis/gis.h"
#include "doc/xchg_flow.h"
#include "profile.h"
#include "tr.h"

namespace {

QString StartDir() {
    shl::Profile& p = shl::CurProfile();
    return p.dir[shl::Profile::DirGis].isEmpty() ? p.dir[shl::Profile::DirScn]
                                                 : p.dir[shl::Profile::DirGis];
}

// Exports start where the last export went (the folder the other exports share), else in the
// user's documents: never in the folder an import read its source from.
QString OutDir() {
    const QString d = shl::CurProfile().dir[shl::Profile::DirVrml];
    return d.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : d;
}

void Remember(const QString& path, int dir = shl::Profile::DirGis) {
    int cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    if (cut > 0) shl::CurProfile().dir[dir] = path.left(cut);
}

// The layer and height-field dialog. Fields: numeric ones first, then the others; the first
// entry takes the heights from the z of the lines.
class OgrDlg : public QDialog {
public:
    OgrDlg(QWidget* parent, const std::vector<OgrLyr>& lyrs) : QDialog(parent), lyrs_(lyrs) {
        setWindowTitle(shl::Tx::tr("GIS 等高線のインポート"));
        auto* form = new QFormLayout;
        lyr_ = new QComboBox;
        lyr_->setObjectName("layer");
        for (const OgrLyr& l : lyrs_) {
            QString t = QString::fromStdString(l.name);
            if (!l.lines) t += shl::Tx::tr("（線なし）");
            else if (l.features >= 0) t += shl::Tx::tr("（%1 件）").arg(l.features);
            lyr_->addItem(t);
        }
        fld_ = new QComboBox;
        fld_->setObjectName("field");
        form->addRow(shl::Tx::tr("レイヤー"), lyr_);
        form->addRow(shl::Tx::tr("高さのフィールド"), fld_);
        auto* note = new QLabel(shl::Tx::tr("座標と高さはデータの座標系の単位（通常はメートル）で読み込みます。"));
        note->setWordWrap(true);
        auto* bb = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        bb->button(QDialogButtonBox::Cancel)->setText(shl::Tx::tr("ｷｬﾝｾﾙ"));
        connect(bb, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(bb, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* v = new QVBoxLayout(this);
        v->addLayout(form);
        v->addWidget(note);
        v->addWidget(bb);
        connect(lyr_, &QComboBox::currentIndexChanged, this, [this](int) { Fill(); });
        int pick = OgrPickLyr(lyrs_);
        lyr_->setCurrentIndex(pick < 0 ? 0 : pick);
        Fill();
    }
    std::string Layer() const {
        int i = lyr_->currentIndex();
        return i >= 0 && i < static_cast<int>(lyrs_.size()) ? lyrs_[i].name : std::string();
    }
    std::string Field() const { return fld_->currentData().toString().toStdString(); }

private:
    void Fill() {
        fld_->clear();
        int i = lyr_->currentIndex();
        fld_->addItem(shl::Tx::tr("（線の Z 値）"), QString());
        if (i < 0 || i >= static_cast<int>(lyrs_.size())) return;
        const OgrLyr& l = lyrs_[i];
        for (const OgrFld& f : l.fields) {
            QString n = QString::fromStdString(f.name);
            fld_->addItem(f.numeric ? n : n + shl::Tx::tr("（文字）"), n);
        }
        int pick = OgrPickFld(l);
        fld_->setCurrentIndex(pick < 0 ? 0 : pick + 1);
    }
    const std::vector<OgrLyr>& lyrs_;
    QComboBox* lyr_;
    QComboBox* fld_;
};

void Import(QWidget* frame) {
    // The import replaces the document: unsaved changes are asked about first, as New does.
    if (!shl::DocSaveFirst(frame)) return;
    FileDlgReq req;
    req.caption = shl::Tx::tr("GIS 等高線のインポート");
    req.dir = StartDir();
    req.filter = shl::Tx::tr("GISベクターデータ (*.gpkg *.shp *.geojson *.json *.gml *.kml *.fgb *.gpx *.tab "
                        "*.mif *.sqlite *.csv);;すべてのファイル (*)");
    QString path = AskFileName(frame, req);
    if (path.isEmpty()) return;
    std::vector<OgrLyr> lyrs;
    std::string err;
    const QByteArray p8 = path.toUtf8();
    if (!OgrList(p8.constData(), &lyrs, &err) || lyrs.empty()) {
        shl::EngCall call;
        DspErrMsg(MsgFilOpn, p8.constData());
        return;
    }
    OgrDlg dlg(frame, lyrs);
    if (ExecDlg(dlg, "ogr") != QDialog::Accepted) return;
    OgrImpPrm prm{p8.toStdString(), dlg.Layer(), dlg.Field()};
    int rc;
    {
        shl::EngCall call;
        SetCrs(CrsWait);
        rc = EngGuard([&] { return ImpOgr(prm, nullptr); });
        SetCrs(CrsArrow);
    }
    if (rc == 0) Remember(path);
}

// Appends the extension of the chosen filter to a name without one.
QString WithExt(const QString& path, const QString& filter) {
    if (!QFileInfo(path).suffix().isEmpty()) return path;
    int star = filter.indexOf("*.");
    if (star < 0) return path;
    int end = star + 2;
    while (end < filter.size() && filter[end].isLetterOrNumber()) end++;
    return path + filter.mid(star + 1, end - star - 1);
}

void Export(QWidget* frame, int id) {
    FileDlgReq req;
    req.save = true;
    req.dir = OutDir();
    if (id == CmdGisTif) {
        req.caption = shl::Tx::tr("GeoTIFF 形式で保存");
        req.filter = "GeoTIFF (*.tif *.tiff)";
    } else if (id == CmdGisRst) {
        req.caption = shl::Tx::tr("ラスター形式で保存");
        req.filter = shl::Tx::tr("ASCII グリッド (*.asc);;XYZ (*.xyz);;その他の GDAL 形式 (*)");
    } else {
        req.caption = shl::Tx::tr("等高線を GIS 形式で保存");
        req.filter = shl::Tx::tr("GeoPackage (*.gpkg);;Shapefile (*.shp);;GeoJSON (*.geojson);;その他の OGR 形式 (*)");
    }
    QString sel;
    QString path = AskFileName(frame, req, &sel);
    if (path.isEmpty()) return;
    path = WithExt(path, sel.isEmpty() ? req.filter : sel);
    const QByteArray p8 = path.toUtf8();
    int rc;
    {
        shl::EngCall call;
        SetCrs(CrsWait);
        rc = EngGuard([&] {
            return id == CmdGisVec ? ExpGisVec(p8.constData()) : ExpGisRst(p8.constData());
        });
        // With the expected-error display on, its map goes with the raster: NAME-error.EXT beside it.
        if (rc == 0 && id != CmdGisVec && ErrDsp) {
            const QFileInfo fi(path);
            const QString ep = fi.path() + "/" + fi.completeBaseName() + "-error" +
                               (fi.suffix().isEmpty() ? QString() : "." + fi.suffix());
            const QByteArray e8 = ep.toUtf8();
            EngGuard([&] { return ExpGisErr(e8.constData()); });
        }
        SetCrs(CrsArrow);
    }
    if (rc == 0) Remember(path, shl::Profile::DirVrml);
}

}  // namespace

bool GisCmd(QWidget* frame, int id) {
    switch (id) {
    case CmdGisImp:
        Import(frame);
        return true;
    case CmdGisTif:
    case CmdGisRst:
    case CmdGisVec:
        Export(frame, id);
        return true;
    default:
        return false;
    }
}
