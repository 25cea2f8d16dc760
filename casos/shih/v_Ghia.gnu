set encoding iso_8859_1
set xlabel 'x (m)'
set ylabel 'v (m/s) em y = 0,5'
set xrange [0:1]
set grid
set key right top box opaque
# pontos: tabela II de Ghia, Ghia e Shin (1982) para Re = 100
plot 'v.dat' using 1:2 with lines lw 2 lc rgb '#1f5fa8' title 'quelna', 'ghia_v.dat' using 1:2 with points pt 7 ps 1.3 lc rgb '#c0392b' title 'Ghia et al. (1982), Re = 100'
set title 'perfil de v na linha horizontal central'
replot
