#pragma once
// Where things sit on the invoice and order layouts. Columns and widths marked "scaled" count on
// a 40-character line and go through PrintEngine::ScaleColumn to the roll's width; the others
// are characters as they are.
namespace quillon::documents {

// Invoice item table (scaled): the "PRODUCTO" heading, then for each item the leading words of
// its name, which stay shorter than the name width.
inline constexpr int kInvoiceProductHeadingColumn = 9;
inline constexpr int kInvoiceItemNameColumn = 6;
inline constexpr int kInvoiceItemNameWidth = 20;
// Invoice tax table (scaled): where the "BASE" column ends.
inline constexpr int kTaxBaseEndColumn = 30;
// The invoice's footers, the branch's and the document's, are wrapped at this width.
inline constexpr int kInvoiceFooterWidth = 35;

// Valued order product line (scaled): the leading words of the product's name, which stay
// shorter than the name width.
inline constexpr int kOrderProductNameColumn = 7;
inline constexpr int kOrderProductNameWidth = 18;

// Both layouts: the rest of a long name goes on the lines below from this column.
inline constexpr int kNameContinuationColumn = 5;

}  // namespace quillon::documents
