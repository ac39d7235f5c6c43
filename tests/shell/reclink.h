// A view link that records what the view asks of the engine, one line per call.
#pragma once
#include <QString>
#include <QStringList>
#include "viewlink.h"
#include "app/modetbl.h"

class RecLink : public shl::ViewLink {
public:
    QStringList calls;
    int mode = 0;

    void SetPtrPix(int x, int y) override { calls << QString("ptr %1 %2").arg(x).arg(y); }
    void SetPtrKey(int vk) override { calls << QString("key %1").arg(vk); }
    int IntrEvt(int type) override {
        calls << QString("evt %1").arg(type);
        return 0;
    }
    int IntrCmd(int cat, int code) override {
        calls << QString("cmd %1 %2").arg(cat).arg(code);
        return 0;
    }
    int CurMode() override { return mode; }
    void Flush() override { calls << "flush"; }
    void SetWinSiz(int w, int h) override { calls << QString("size %1 %2").arg(w).arg(h); }
    void ViewOpen(bool open) override { calls << (open ? "open" : "close"); }
    void SetupWin() override { calls << "setup"; }
    void PaintWin() override { calls << "paint"; }

    // Calls other than the GL life cycle, which depends on when Qt paints.
    QStringList Events() const {
        QStringList out;
        for (const QString& c : calls)
            if (c != "open" && c != "close" && c != "setup" && c != "paint") out << c;
        return out;
    }
};
