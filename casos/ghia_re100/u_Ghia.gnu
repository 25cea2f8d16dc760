set encoding iso_8859_1
set xlabel 'u (m/s) em x = 0,5'
set ylabel 'y (m)'
set yrange [0:1]
set grid
set key left top box opaque
set xzeroaxis lt 0
# pontos: tabela I de Ghia, Ghia e Shin (1982) para Re = 100
plot 'u.dat' using 1:2 with lines lw 2 lc rgb '#1f5fa8' title 'quelna', 'ghia_u.dat' using 2:1 with points pt 7 ps 1.3 lc rgb '#c0392b' title 'Ghia et al. (1982), Re = 100'
set title 'perfil de u na linha vertical central'
replot
