set encoding iso_8859_1
set size ratio -1; set tmargin 3; set bmargin 4
set xrange [0:1]
set yrange [0:1]
set xlabel 'x (m)'
set ylabel 'y (m)'
set key outside right top box opaque spacing 1.3
set object 1 rectangle from 0,0 to 1,1 fillstyle empty border lc rgb 'black' lw 2 front
set contour base; unset surface; set view map
# curvas de nível de psi da solução de Shih (mínimo -1/8 em x = 0,5, y = 1/sqrt(2))
set cntrparam levels discrete -0.124,-0.12,-0.11,-0.1,-0.09,-0.08,-0.07,-0.06,-0.05,-0.04,-0.03,-0.02,-0.01,-0.001
set table $negativos; splot 'psi.dat' using 1:2:3 with lines; unset table
# o escoamento de Shih tem um vórtice só, sem curvas de psi > 0: os níveis vão de -0,124 a -0,001,
# perto do mínimo -1/8; o roteiro mantém 20 linhas antes do título, como os dos exemplos de Ghia,
# e a execução escreve depois delas o título e o replot
#
unset contour; $exato << EOD
0.5 0.70710678
EOD
plot $negativos using 1:2 with lines lw 1.5 lc rgb '#1f5fa8' title 'psi (quelna)', 'vortices.dat' using 2:3 with points pt 7 ps 1.5 lc rgb 'black' title 'centro (quelna)', $exato using 1:2 with points pt 6 ps 2.5 lw 2 lc rgb '#2ca02c' title 'centro exato'
set title 'x'
replot
