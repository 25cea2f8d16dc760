set encoding iso_8859_1
set xlabel 'iteração externa'
set ylabel 'norma L1 dos resíduos / norma na iteração 1'
set logscale y
set format y '10^{%L}'
plot 'r.dat' using 1:2 with lines lw 2 lc rgb '#1f5fa8' title 'resíduo'
set title 'histórico do resíduo'
replot
