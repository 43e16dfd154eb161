#pragma once

#include "design/FontWeight.h"
#include "design/Painting.h"

#include <QWidget>

namespace imageimport {

// A symbol centred on a rounded square tile, as the import's header and cards show
// them; decoration only, never read out.
class ImportSymbolTile final : public QWidget {
public:
    struct Look {
        int side = 52;
        qreal cornerRadius = 14;
        qreal symbolSize = 20;
        design::FontWeight weight = design::FontWeight::medium;
    };

    ImportSymbolTile(QString symbol, Look look, design::Tint tint, design::Tint tile, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    Look m_look;
    design::Tint m_tint;
    design::Tint m_tile;
};

}  // namespace imageimport
