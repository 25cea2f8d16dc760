set encoding iso_8859_1
set xlabel 'u (m/s) em x = 0,5'
set ylabel 'y (m)'
set yrange [0:1]
set grid
set key left top box opaque
plot 'u.dat' using 1:2 with lines lw 2 lc rgb '#1f5fa8' title 'quelna', 'ucex.dat' using 1:2 with points pt 7 ps 1.0 lc rgb '#c0392b' title 'solução analítica de Shih'
set title 'perfil de u na linha vertical central'
replot
