# Contour text of the benchmark set (millimetres) to CSV with WKT lines in metres, shifted by
# DX, DY metres (awk -v DX=500000 -v DY=4000000), for ogr2ogr.
BEGIN { print "WKT,elev"; OFMT = "%.3f"; CONVFMT = "%.3f" }
/^#/ { next }
$1 == "curve" { flush(); left = $2; h = $3 / 1000; pts = ""; next }
left > 0 && NF == 2 {
    pts = pts (pts == "" ? "" : ",") sprintf("%.3f %.3f", $1 / 1000 + DX, $2 / 1000 + DY)
    if (--left == 0) flush()
}
function flush() { if (pts != "") printf "\"LINESTRING (%s)\",%.3f\n", pts, h; pts = "" }
