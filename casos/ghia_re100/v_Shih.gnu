set encoding iso_8859_1
set xlabel 'x (m)'
set ylabel 'v (m/s) em y = 0,5'
set grid
set key right top box opaque
plot 'v.dat' using 1:2 with lines lw 2 lc rgb '#1f5fa8' title 'quelna', 'vcex.dat' using 1:2 with points pt 7 ps 1.0 lc rgb '#c0392b' title 'solução analítica de Shih'
set title 'perfil de v na linha horizontal central'
replot
